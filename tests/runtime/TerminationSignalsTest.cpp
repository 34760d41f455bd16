#include "runtime/TerminationSignals.h"

#include <QSignalSpy>
#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

TEST(TerminationSignalsTest, termAndIntArriveOnTheEventLoopAndPipesNoLongerKill)
{
    TerminationSignals termination;
    QSignalSpy requested(&termination, &TerminationSignals::terminationRequested);

    ASSERT_EQ(::raise(SIGTERM), 0); // would end the test program without the handler
    ASSERT_TRUE(requested.wait(5000));
    ASSERT_EQ(::raise(SIGINT), 0);
    ASSERT_TRUE(requested.wait(5000));
    EXPECT_EQ(requested.count(), 2);

    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    ::close(pipeEnds[0]);
    errno = 0;
    EXPECT_EQ(::write(pipeEnds[1], "x", 1), -1);
    EXPECT_EQ(errno, EPIPE);
    ::close(pipeEnds[1]);
}

} // namespace
