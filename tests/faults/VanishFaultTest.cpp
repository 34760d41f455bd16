// The device vanishing while open and coming back, again and again, at the level of the
// serial engine: the event thread must end without taking the processor, and once the
// device is back, opening it again must deliver again.

#include "serial/ComThread.h"
#include "tests/faults/FaultRun.h"
#include "tests/faults/ProcessProbe.h"
#include "tests/serial/ComPortFixture.h"
#include "tests/support/DeviceLink.h"

#include <memory>
#include <thread>

namespace {

using namespace std::chrono_literals;

TEST(VanishFault, everyVanishEndsTheThreadOnceWithoutSpinningAndStartWorksWhenBack)
{
    // How long the processor is watched after each vanish; a whole second per vanish in
    // a soak run.
    const auto window = FaultRun::soaking() ? 1000ms : 250ms;
    DeviceLink link;
    TComPort port;
    configureAsComPort1(port);
    port.setPort(link.path());
    std::string received;
    int deliveries = 0;
    port.OnRxChar = [&](TCustomComPort &sender, int count) {
        std::string text;
        sender.ReadText(text, count);
        received += text;
        ++deliveries;
    };

    FaultRun run("vanish", 50);
    double cpuAfterVanishes = 0;
    std::chrono::duration<double> watched{0};
    int openFailures = 0;
    while (run.nextRound()) {
        auto board = std::make_unique<PtyPair>();
        ASSERT_TRUE(link.pointAt(board->slavePath()));
        port.OpenPort();
        const std::string reading = std::to_string(run.rounds()) + "b";
        board->write(reading);
        ASSERT_TRUE(waitFor([&] { return received.ends_with(reading); })) << "nothing received after Start";

        const TComThread *thread = port.EventThread();
        const int deliveriesBefore = deliveries;
        const double cpuBefore = ProcessProbe::cpuSeconds();
        const auto vanished = std::chrono::steady_clock::now();
        board.reset();
        ASSERT_TRUE(waitFor([&] { return thread->Ended(); })) << "the event thread outlived its device";
        // The watch itself: nothing here may use the processor.
        std::this_thread::sleep_until(vanished + window);
        cpuAfterVanishes += ProcessProbe::cpuSeconds() - cpuBefore;
        watched += std::chrono::steady_clock::now() - vanished;

        EXPECT_EQ(deliveries, deliveriesBefore) << "a vanished device delivers nothing";
        EXPECT_TRUE(port.Connected()) << "only Stop closes the port";
        port.ClosePort();
        EXPECT_FALSE(port.Device().isOpen());
        try {
            port.OpenPort();
            ADD_FAILURE() << "a vanished device opened";
            port.ClosePort();
        } catch (const EComPort &error) {
            EXPECT_EQ(error.code(), EComPort::OpenFailed);
            ++openFailures;
        }
        ASSERT_FALSE(testing::Test::HasFailure());
    }

    const double cpuShare = cpuAfterVanishes / watched.count();
    EXPECT_LT(cpuShare, 0.01) << "the process used " << cpuShare * 100 << " % of a core after the vanishes";
    EXPECT_EQ(openFailures, run.rounds());
    run.report("vanishes", run.rounds());
    run.report("cpu_percent_after_vanish", cpuShare * 100);
    run.report("window_ms", std::chrono::duration<double, std::milli>(window).count());
}

} // namespace
