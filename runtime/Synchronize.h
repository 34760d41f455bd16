#pragma once

#include <functional>

// Hands calls from worker threads to the GUI thread.
//
// A worker queues a call and wakes the GUI thread's event loop (GuiWakeup); the GUI
// thread runs queued calls from its event loop, or from waitUntil() while it waits for
// a worker. A QCoreApplication must exist.
class Synchronize
{
public:
    // Runs call on the GUI thread and blocks until it has returned; an exception it
    // throws is rethrown here. On the GUI thread itself the call runs at once.
    static void call(std::function<void()> call);

    // Hands call to the GUI thread and blocks only until the GUI thread has taken it
    // up: the caller goes on while the call runs. call must not throw.
    static void send(std::function<void()> call);

    // GUI thread: runs the pending calls, and nothing else (no input, no timers),
    // until finished() holds. finished() is tested after every wake().
    static void waitUntil(const std::function<bool()> &finished);

    // Any thread: makes waitUntil() test its condition again.
    static void wake();

    // GUI thread: runs every call queued so far.
    static void runPending();

    // Blocks until some call is queued, running nothing, for at most boundMs
    // milliseconds; tells whether one is queued.
    static bool waitForPending(int boundMs);
};
