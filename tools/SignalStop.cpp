#include "SignalStop.h"

#include <cerrno>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void noteStop(int)
{
    stopRequested = 1;
}

} // namespace

SignalStop::SignalStop()
{
    sigemptyset(&m_stopSignals);
    sigaddset(&m_stopSignals, SIGINT);
    sigaddset(&m_stopSignals, SIGTERM);
    sigset_t previousMask;
    sigprocmask(SIG_BLOCK, &m_stopSignals, &previousMask);
    m_waitMask = previousMask;
    sigdelset(&m_waitMask, SIGINT);
    sigdelset(&m_waitMask, SIGTERM);

    // No SA_RESTART: a signal has to end the sleep or poll it lands in.
    struct sigaction action = {};
    action.sa_handler = noteStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &m_previousInt);
    sigaction(SIGTERM, &action, &m_previousTerm);
}

SignalStop::~SignalStop()
{
    sigaction(SIGINT, &m_previousInt, nullptr);
    sigaction(SIGTERM, &m_previousTerm, nullptr);
    sigprocmask(SIG_UNBLOCK, &m_stopSignals, nullptr);
}

bool SignalStop::requested() const
{
    return stopRequested != 0;
}

void SignalStop::sleepUntil(const timespec &deadline) const
{
    sigset_t blocked;
    sigprocmask(SIG_SETMASK, &m_waitMask, &blocked);
    while (!requested() && clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
    sigprocmask(SIG_SETMASK, &blocked, nullptr);
}

// A negative fd is left out of the poll: then only a stop ends the wait.
bool SignalStop::waitFor(int fd, short events) const
{
    pollfd watched = {fd, events, 0};
    // ppoll unblocks the stop signals atomically, so none slips in before the wait.
    while (!requested()) {
        const int ready = ppoll(&watched, 1, nullptr, &m_waitMask);
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
    }
    return false;
}
