#pragma once

#include <cstdint>

// One wait on a serial device and a stop signal together (epoll and an eventfd).
// Arrival of new bytes is reported once per arrival: bytes left unread do not wake the
// wait again until more come. Idle, the wait takes no processor time.
class PosixEventWaiter
{
public:
    enum class Outcome {
        Events,    // the device reported something; see the mask
        Stopped,   // signalStop() was called
        Vanished,  // the device hung up: its other side closed or it was unplugged
        Failed     // the wait itself failed
    };

    // Watches device for the driver event bits in eventMask (0x0001: bytes received);
    // raises EOutOfResources when the kernel gives no descriptor for the wait.
    PosixEventWaiter(int device, std::uint32_t eventMask);
    ~PosixEventWaiter();
    PosixEventWaiter(const PosixEventWaiter &) = delete;
    PosixEventWaiter &operator=(const PosixEventWaiter &) = delete;

    // Blocks until something happens; on Events, mask holds the driver event bits.
    // A pending stop wins over device events that arrived at the same time.
    Outcome wait(std::uint32_t &mask);

    // Callable from any thread; the stop stays signalled.
    void signalStop();

private:
    int m_epoll = -1;
    int m_stop = -1;
    std::uint32_t m_eventMask;
};
