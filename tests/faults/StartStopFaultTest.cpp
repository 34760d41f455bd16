// Start and Stop, over and over, with readings flowing and a delivery waiting for the
// GUI thread at every Stop.

#include "runtime/Synchronize.h"
#include "tests/faults/BoardFeeder.h"
#include "tests/faults/FaultRun.h"
#include "tests/faults/ProcessProbe.h"
#include "tests/faults/WindowOnBoard.h"
#include "tests/support/ModalWatcher.h"

#include <QPushButton>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

class StartStopFault : public testing::Test, protected WindowOnBoard
{
protected:
    // One Start and Stop; false (with a failure recorded) when a step did not happen.
    bool cycle()
    {
        const int before = deliveries;
        form.Button1->click();
        EXPECT_TRUE(form.ComPort1->Connected());
        if (!FaultRun::processEventsUntil([&] { return deliveries > before; })) {
            ADD_FAILURE() << "nothing received after Start";
            return false;
        }
        // The event thread has handed the next batch over and waits for the GUI thread.
        if (!Synchronize::waitForPending(20000)) {
            ADD_FAILURE() << "no delivery in flight at Stop";
            return false;
        }
        form.Button2->click();
        EXPECT_FALSE(form.ComPort1->Connected());
        EXPECT_FALSE(Synchronize::waitForPending(0)) << "Stop ran the delivery in flight";
        return !testing::Test::HasFailure();
    }
};

TEST_F(StartStopFault, cyclesKeepReceivingAndReleaseEverything)
{
    ModalWatcher boxes;
    BoardFeeder feeder(board, 100us, 1);
    // 1000 cycles take about 2 s on an idle machine and minutes on a loaded one; the
    // limit leaves a stuck cycle's own bounds (20 s) room before CTest's 60 s.
    FaultRun run("start_stop", 1000, 15s);
    // Qt sets up some of its own on first use; the count starts after one cycle.
    ASSERT_TRUE(cycle());
    const int descriptorsBefore = ProcessProbe::openDescriptors();
    const int threadsBefore = ProcessProbe::threads();

    while (run.nextRound()) {
        if (!cycle())
            break;
    }

    const int descriptorsAfter = ProcessProbe::openDescriptors();
    const int threadsAfter = ProcessProbe::threads();
    feeder.stop();
    EXPECT_TRUE(boxes.boxes().isEmpty()) << boxes.boxes().front().text.toStdString();
    EXPECT_EQ(descriptorsAfter, descriptorsBefore);
    EXPECT_EQ(threadsAfter, threadsBefore);
    EXPECT_EQ(form.decoder().droppedCount(), 0u) << "a Stop never cuts a reading in two";

    run.report("cycles", run.rounds());
    run.report("readings_sent", double(feeder.readingsSent()));
    run.report("readings_decoded", double(form.decoder().decodedCount()));
    run.report("descriptors_before", descriptorsBefore);
    run.report("descriptors_after", descriptorsAfter);
    run.report("threads_before", threadsBefore);
    run.report("threads_after", threadsAfter);
    run.report("peak_rss_kb", double(ProcessProbe::peakResidentKb()));
}

} // namespace
