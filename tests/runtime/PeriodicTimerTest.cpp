#include "runtime/PeriodicTimer.h"

#include "runtime/Exception.h"

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <exception>
#include <functional>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Counts the ticks and the longest run of them that came without the event loop turning
// between: periods made up after a stall come as one such run.
class TickLog
{
public:
    TickLog(PeriodicTimer &timer, std::function<void(int)> onTick)
    {
        QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                         &m_context, [this] { m_run = 0; });
        QObject::connect(&timer, &PeriodicTimer::timeout, &m_context, [this, onTick = std::move(onTick)] {
            ++ticks;
            longestRun = std::max(longestRun, ++m_run);
            onTick(ticks);
        });
    }

    int ticks = 0;
    int longestRun = 0;

private:
    QObject m_context;
    int m_run = 0;
};

TEST(PeriodicTimerTest, periodsMissedInAStallAreMadeUpAtOnceUpToATenthOfASecond)
{
    const struct
    {
        const char *what;
        int period, stall, shortestMakeUp, longestMakeUp;
    } rows[] = {
        {"a stall of five and a half periods", 10, 55, 5, 10},
        {"a stall of three tenths of a second at 1 ms", 1, 300, 100, 100},
        {"at the window's designed period nothing is made up", 100, 350, 1, 1},
    };
    for (const auto &row : rows) {
        PeriodicTimer timer;
        timer.setInterval(row.period);
        QEventLoop loop;
        TickLog log(timer, [&](int tick) {
            if (tick != 1)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(row.stall)); // the GUI thread held up
            QTimer::singleShot(5 * row.period + 50, &loop, &QEventLoop::quit);
        });
        timer.start();
        loop.exec();
        EXPECT_GE(log.longestRun, row.shortestMakeUp) << row.what;
        EXPECT_LE(log.longestRun, row.longestMakeUp) << row.what;
    }
}

TEST(PeriodicTimerTest, ticksGoOnInATicksOwnEventLoopAndNoneComesAfterAStop)
{
    PeriodicTimer timer;
    timer.setInterval(10);
    QElapsedTimer clock;
    QEventLoop loop;
    int ticksInsideBox = -1;
    TickLog log(timer, [&](int tick) {
        if (tick == 1) {
            QEventLoop box; // as a modal box opened by a tick
            QTimer::singleShot(60, &box, &QEventLoop::quit);
            box.exec();
            ticksInsideBox = log.ticks - 1;
            std::this_thread::sleep_for(std::chrono::milliseconds(55)); // periods to make up
        } else if (ticksInsideBox >= 0 && tick == ticksInsideBox + 3) {
            timer.stop(); // in the middle of making them up
            QTimer::singleShot(50, &loop, &QEventLoop::quit); // time for a tick that should not come
        }
    });
    clock.start();
    timer.start();
    QTimer::singleShot(10000, &loop, &QEventLoop::quit); // a watchdog
    loop.exec();
    EXPECT_GE(ticksInsideBox, 1) << "a box opened by a tick must not freeze the display";
    EXPECT_EQ(log.ticks, ticksInsideBox + 3) << "no tick after the stop";
    EXPECT_LE(log.ticks, clock.elapsed() / 10) << "never more ticks than periods";
    EXPECT_FALSE(timer.isActive());
    EXPECT_EQ(timer.remainingTime(), -1);
}

TEST(PeriodicTimerTest, withNoDescriptorLeftStartingSaysSoAndLaterWorks)
{
    PeriodicTimer timer;
    timer.setInterval(20);
    // Nothing is looked at until the descriptors are back: the sanitizers' own checks
    // need one.
    std::vector<int> taken;
    for (int fd; (fd = ::dup(STDERR_FILENO)) >= 0;)
        taken.push_back(fd);
    std::exception_ptr refusal;
    try {
        timer.start();
    } catch (...) {
        refusal = std::current_exception();
    }
    const bool startedWithout = timer.isActive();
    for (const int fd : taken)
        ::close(fd);

    EXPECT_FALSE(startedWithout);
    try {
        if (refusal)
            std::rethrow_exception(refusal);
        ADD_FAILURE() << "started without a descriptor";
    } catch (const EOutOfResources &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Not enough timers available"));
    }
    timer.start();
    EXPECT_TRUE(timer.isActive());
    EXPECT_GT(timer.remainingTime(), 0);
    EXPECT_LE(timer.remainingTime(), 20);
}

} // namespace
