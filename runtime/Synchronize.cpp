#include "runtime/Synchronize.h"

#include "runtime/GuiWakeup.h"

#include <QCoreApplication>
#include <QThread>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>

namespace {

struct HandOver
{
    std::function<void()> call;
    bool releaseFirst = false;  // the worker goes on as soon as the GUI takes it up
    bool done = false;
    std::exception_ptr error;
};

// One queue for the GUI thread. The condition serves both sides: workers wait for
// their hand-over to be done, the GUI thread's waitUntil() for new hand-overs or wake().
struct Queue
{
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<HandOver *> pending;
};

Queue &queue()
{
    static Queue instance;
    return instance;
}

// Made by the application object's constructor, on the GUI thread, before any worker
// can hand over: made lazily by the first worker, it would be written on that thread
// and read on the GUI thread with nothing ThreadSanitizer can see in between. A worker
// started later sees it through the thread start.
GuiWakeup *wakeup = nullptr;

void destroyWakeup()
{
    delete wakeup;
    wakeup = nullptr;
}

// One for each application object, gone with it: its notifier watches through the event
// dispatcher of the application it was made under, and a program may make more than one
// (the command line is read under a short-lived core application first). A wake-up kept
// from the first would never reach the second's event loop.
void createWakeup()
{
    // The queue is made here, with the application object, so that it outlives a call
    // made at exit (ExitHook) that closes a port and runs its last hand-overs.
    queue();
    destroyWakeup();
    wakeup = new GuiWakeup(&Synchronize::runPending);
    qAddPostRoutine(destroyWakeup);
}

bool onGuiThread()
{
    QCoreApplication *app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void handOver(HandOver &item)
{
    Queue &q = queue();
    std::unique_lock lock(q.mutex);
    q.pending.push_back(&item);
    q.changed.notify_all();
    lock.unlock();
    wakeup->wake();
    lock.lock();
    q.changed.wait(lock, [&] { return item.done; });
}

// Takes the oldest hand-over; releases its worker first when it asks for that.
// Returns false when nothing is queued.
bool takeNext(std::function<void()> &call, HandOver *&waiting)
{
    Queue &q = queue();
    std::lock_guard lock(q.mutex);
    if (q.pending.empty())
        return false;
    HandOver *item = q.pending.front();
    q.pending.pop_front();
    // The worker keeps the item only until it is done, and never looks at the call again.
    call = std::move(item->call);
    if (item->releaseFirst) {
        item->done = true;
        q.changed.notify_all();
        waiting = nullptr;
    } else {
        waiting = item;
    }
    return true;
}

void finish(HandOver &item, std::exception_ptr error)
{
    Queue &q = queue();
    std::lock_guard lock(q.mutex);
    item.error = std::move(error);
    item.done = true;
    q.changed.notify_all();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(createWakeup)

void Synchronize::call(std::function<void()> call)
{
    if (onGuiThread()) {
        call();
        return;
    }
    HandOver item{std::move(call), false, false, nullptr};
    handOver(item);
    if (item.error)
        std::rethrow_exception(item.error);
}

void Synchronize::send(std::function<void()> call)
{
    if (onGuiThread()) {
        call();
        return;
    }
    HandOver item{std::move(call), true, false, nullptr};
    handOver(item);
}

void Synchronize::runPending()
{
    std::function<void()> call;
    HandOver *waiting = nullptr;
    while (takeNext(call, waiting)) {
        std::exception_ptr error;
        try {
            call();
        } catch (...) {
            error = std::current_exception();
        }
        if (waiting)
            finish(*waiting, std::move(error));
    }
}

void Synchronize::waitUntil(const std::function<bool()> &finished)
{
    Queue &q = queue();
    std::unique_lock lock(q.mutex);
    while (!finished()) {
        if (q.pending.empty()) {
            q.changed.wait(lock);
            continue;
        }
        lock.unlock();
        runPending();
        lock.lock();
    }
}

void Synchronize::wake()
{
    Queue &q = queue();
    std::lock_guard lock(q.mutex);
    q.changed.notify_all();
}

bool Synchronize::waitForPending(int boundMs)
{
    Queue &q = queue();
    std::unique_lock lock(q.mutex);
    return q.changed.wait_for(lock, std::chrono::milliseconds(boundMs), [&] { return !q.pending.empty(); });
}
