#include "runtime/PaintingWait.h"

#include "runtime/Synchronize.h"

#include <QCoreApplication>
#include <QThread>
#include <exception>
#include <thread>

void PaintingWait::run(const std::function<void()> &work)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) {
        work();
        return;
    }
    bool done = false;
    std::exception_ptr error;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            error = std::current_exception();
        }
        // Set on the GUI thread itself, by the hand-over that wakes its event loop: the
        // loop below sees it as soon as that event has run.
        Synchronize::send([&done] { done = true; });
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    worker.join();
    if (error)
        std::rethrow_exception(error);
}
