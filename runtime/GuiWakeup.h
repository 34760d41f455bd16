#pragma once

#include <functional>

class QSocketNotifier;

// Wakes the GUI thread's event loop from any thread. A worker only writes to a kernel
// counter (an eventfd) that a socket notifier of the GUI thread watches: no Qt event is
// made on the worker and freed on the GUI thread, which would pass through Qt's own
// locks, where ThreadSanitizer cannot see the hand-over. Every event loop, the nested
// loops of modal boxes too, runs onWake; many wakes before it runs cost one call.
class GuiWakeup
{
public:
    // GUI thread, with the application object's event dispatcher in place.
    explicit GuiWakeup(std::function<void()> onWake);
    ~GuiWakeup();
    GuiWakeup(const GuiWakeup &) = delete;
    GuiWakeup &operator=(const GuiWakeup &) = delete;

    // Any thread.
    void wake();

private:
    int m_counter = -1;
    QSocketNotifier *m_notifier = nullptr;
};
