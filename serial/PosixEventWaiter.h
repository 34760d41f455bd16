#pragma once

#include <chrono>
#include <cstdint>

// One wait on a serial device and a stop signal together (epoll and an eventfd).
// Arrival of new bytes is reported once per arrival: bytes left unread do not wake the
// wait again until more come. Idle, the wait takes no processor time.
//
// Received bytes are gathered before they are reported: after the wake for the first
// bytes, a second, timed wait (a timerfd armed for gatherTime, watched together with the
// stop) lets more arrive, so that a board writing one reading at a time costs one
// delivery per gatherTime rather than one per write. Only the timer and the stop end
// that wait: arrivals in between do not wake the thread, and their readiness is taken
// with the report, so they bring no delivery of their own. Bytes are reported at once
// when fullQueue of them are already waiting at the wake, and when the last report lies
// more than gatherTime back: the first reading after a pause is not held, only a stream.
class PosixEventWaiter
{
public:
    enum class Outcome {
        Events,    // the device reported something; see the mask
        Stopped,   // signalStop() was called
        Vanished,  // the device hung up: its other side closed or it was unplugged
        Failed     // the wait itself failed
    };

    // At most this long after the wake for received bytes, the wait reports them.
    static constexpr std::chrono::microseconds gatherTime{1000};
    // Half the line discipline's read buffer (4 KiB less one): a flood is reported at
    // once, before the buffer fills and the line is held back.
    static constexpr int fullQueue = 2048;

    // Watches device for the driver event bits in eventMask (0x0001: bytes received),
    // and wake (when not -1) as a second source of received bytes: a device that takes
    // bytes off its descriptor outside a delivery announces them there. Raises
    // EOutOfResources when the kernel gives no descriptor for the wait.
    PosixEventWaiter(int device, int wake, std::uint32_t eventMask);
    ~PosixEventWaiter();
    PosixEventWaiter(const PosixEventWaiter &) = delete;
    PosixEventWaiter &operator=(const PosixEventWaiter &) = delete;

    // Blocks until something happens; on Events, mask holds the driver event bits.
    // A pending stop wins over device events that arrived at the same time.
    Outcome wait(std::uint32_t &mask);

    // Callable from any thread; the stop stays signalled.
    void signalStop();

private:
    Outcome waitOnce(std::uint32_t &deviceEvents, int timeoutMs);
    Outcome gather(std::uint32_t &deviceEvents);
    Outcome waitOutGatherTime();
    void armTimer(std::chrono::microseconds after);
    int queuedBytes() const;

    int m_device;
    int m_epoll = -1;
    int m_stop = -1;
    int m_timer = -1;
    std::uint32_t m_eventMask;
    std::chrono::steady_clock::time_point m_lastReport; // of received bytes
};
