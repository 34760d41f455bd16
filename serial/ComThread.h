#pragma once

#include "serial/ComSettings.h"
#include "serial/PosixEventWaiter.h"

#include <atomic>
#include <exception>
#include <thread>

class TCustomComPort;

// The event thread of one opening of a port: waits for the driver's events and hands
// each batch to the port's handlers as the port's SyncMethod says. Created and started
// by OpenPort, destroyed by ClosePort; destruction stops the thread and waits for it,
// running the hand-overs it has queued meanwhile. Within a stream, the wait lets received
// bytes gather for up to a millisecond before it reports them (PosixEventWaiter), so one
// delivery carries what a fast board wrote in that time; Count is still taken at delivery.
class TComThread
{
public:
    // Gives the driver the event mask of the port's Events and starts the thread.
    explicit TComThread(TCustomComPort &port);
    ~TComThread();
    TComThread(const TComThread &) = delete;
    TComThread &operator=(const TComThread &) = delete;

    void SignalStop();

    // Raises one event on the port's handlers, with the reads its table row asks for.
    static void RaiseEvent(TCustomComPort &port, TComEvent event);
    // Raises every member of events in the fixed order.
    static void RaiseEvents(TCustomComPort &port, TComEvents events);

    // True once the thread body has returned, by the end of the loop or by an error.
    bool Ended() const { return m_ended.load(); }
    // True once the body is ending because the device is gone; set before the report.
    bool Vanished() const { return m_vanished.load(); }

private:
    void Execute();
    void WaitLoop();
    void DeliverEvents();
    void SendEventMessages();
    void waitForEnd();
    void reportVanished();

    TCustomComPort &m_port;
    PosixEventWaiter m_waiter;
    TComEvents m_received;           // written by the thread, read by the delivery
    std::exception_ptr m_fatalError; // what ended the body early; dropped with the thread
    bool m_loopEnded = false;        // the loop ended by itself: stopped, failed or vanished
    std::atomic<bool> m_vanished{false};
    std::atomic<bool> m_ended{false};
    std::thread m_thread;
};
