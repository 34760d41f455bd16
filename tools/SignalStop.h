#pragma once

#include <csignal>
#include <ctime>
#include <poll.h>

// SIGINT and SIGTERM ask the simulator to stop. They stay blocked except inside the
// simulator's waits, so a stop is noticed at the next wait and never cuts a write short.
class SignalStop
{
public:
    SignalStop();
    ~SignalStop();
    SignalStop(const SignalStop &) = delete;
    SignalStop &operator=(const SignalStop &) = delete;

    bool requested() const;

    // Sleeps until an absolute CLOCK_MONOTONIC time, or until a stop is asked for. A
    // signal that lands between the check and the sleep is seen at the deadline: one
    // write period late at worst.
    void sleepUntil(const timespec &deadline) const;

    // Waits until fd is readable (true) or a stop is asked for (false); no time limit.
    bool waitReadable(int fd) const { return waitFor(fd, POLLIN); }

    // Waits until fd takes more text (true), reports a hang-up (true), or a stop is asked
    // for (false); no time limit.
    bool waitWritable(int fd) const { return waitFor(fd, POLLOUT); }

    // Waits for the stop and nothing else.
    void waitForStop() const { waitFor(-1, 0); }

private:
    bool waitFor(int fd, short events) const;

    sigset_t m_stopSignals;
    sigset_t m_waitMask;
    struct sigaction m_previousInt;
    struct sigaction m_previousTerm;
};
