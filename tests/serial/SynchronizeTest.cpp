// The hand-over from worker threads to the GUI thread.

#include "runtime/Exception.h"
#include "runtime/Synchronize.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

namespace {

constexpr int generousMs = 20000;

TEST(Synchronize, CallRunsOnTheGuiThreadAndBlocksUntilDone)
{
    std::atomic<bool> ranOnGui{false};
    std::atomic<bool> workerSawResult{false};
    int value = 0; // written by the GUI thread, read by the worker after call()
    std::thread worker([&] {
        Synchronize::call([&] {
            ranOnGui = QThread::currentThread() == qApp->thread();
            value = 42;
        });
        workerSawResult = value == 42;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return workerSawResult.load(); }, generousMs));
    worker.join();
    EXPECT_TRUE(ranOnGui);
}

TEST(Synchronize, ExceptionTravelsBackToTheWorker)
{
    QString caught;
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        try {
            Synchronize::call([] { throw EConvertError("'q' is not a valid integer value"); });
        } catch (const EConvertError &error) {
            caught = error.message();
        }
        finished = true;
        Synchronize::wake();
    });
    Synchronize::waitUntil([&] { return finished.load(); });
    worker.join();
    EXPECT_EQ(caught, "'q' is not a valid integer value");
}

TEST(Synchronize, SendReleasesTheWorkerBeforeTheCallRuns)
{
    std::promise<void> workerReleased;
    std::future<void> released = workerReleased.get_future();
    std::atomic<bool> sawRelease{false};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        Synchronize::send([&] {
            // Would never be released if send() waited for this call to end.
            sawRelease = released.wait_for(std::chrono::milliseconds(generousMs)) == std::future_status::ready;
            done = true;
            Synchronize::wake();
        });
        workerReleased.set_value();
    });
    Synchronize::waitUntil([&] { return done.load(); });
    worker.join();
    EXPECT_TRUE(sawRelease);
}

TEST(Synchronize, WaitUntilRunsHandOversAndNothingElse)
{
    bool postedRan = false;
    QMetaObject::invokeMethod(qApp, [&] { postedRan = true; }, Qt::QueuedConnection);
    std::atomic<int> handOvers{0};
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        for (int i = 0; i < 3; ++i)
            Synchronize::call([&] { ++handOvers; });
        finished = true;
        Synchronize::wake();
    });
    Synchronize::waitUntil([&] { return finished.load(); });
    worker.join();
    EXPECT_EQ(handOvers, 3);
    EXPECT_FALSE(postedRan);
    QCoreApplication::processEvents();
    EXPECT_TRUE(postedRan);
    Synchronize::runPending(); // the wake-ups left in the queue find nothing to run
    EXPECT_EQ(handOvers, 3);
}

TEST(Synchronize, CallOnTheGuiThreadRunsAtOnce)
{
    int runs = 0;
    Synchronize::call([&] { ++runs; });
    EXPECT_EQ(runs, 1);
    EXPECT_THROW(Synchronize::call([] { throw EAbort("x"); }), EAbort);
}

} // namespace
