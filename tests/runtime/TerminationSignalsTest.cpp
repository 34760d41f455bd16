#include "runtime/TerminationSignals.h"

#include <QSignalSpy>
#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

void (*handlerOf(int signalNumber))(int)
{
    struct sigaction action {};
    ::sigaction(signalNumber, nullptr, &action);
    return action.sa_handler;
}

TEST(TerminationSignalsTest, endingSignalsArriveOnTheEventLoopAndPipesNoLongerKill)
{
    // As a shell leaves a background job, or nohup its program.
    const auto oldInt = std::signal(SIGINT, SIG_IGN);
    const auto oldHup = std::signal(SIGHUP, SIG_DFL);
    {
        TerminationSignals termination;
        QSignalSpy requested(&termination, &TerminationSignals::terminationRequested);
        for (const int signalNumber : {SIGTERM, SIGHUP}) {
            ASSERT_EQ(::raise(signalNumber), 0) << signalNumber; // would end the test program unhandled
            ASSERT_TRUE(requested.wait(5000)) << signalNumber;
        }
        EXPECT_EQ(requested.count(), 2);
        EXPECT_EQ(handlerOf(SIGINT), SIG_IGN) << "what was ignored stays ignored";

        int pipeEnds[2];
        ASSERT_EQ(::pipe(pipeEnds), 0);
        ::close(pipeEnds[0]);
        errno = 0;
        EXPECT_EQ(::write(pipeEnds[1], "x", 1), -1);
        EXPECT_EQ(errno, EPIPE);
        ::close(pipeEnds[1]);
    }
    EXPECT_EQ(handlerOf(SIGHUP), SIG_DFL) << "restored with the object";
    std::signal(SIGINT, oldInt);
    std::signal(SIGHUP, oldHup);
}

} // namespace
