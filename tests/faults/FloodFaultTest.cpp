// A flood: readings as fast as the pseudo-terminal takes them while the display runs at
// its defaults. Nothing may be lost and memory must not grow; the tick period and the
// time Stop takes are reported as figures (scripts/soak.sh judges them).

#include "tests/faults/BoardFeeder.h"
#include "tests/faults/FaultRun.h"
#include "tests/faults/ProcessProbe.h"
#include "tests/faults/WindowOnBoard.h"
#include "tests/support/ModalWatcher.h"
#include "widgets/SpinEdit.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

constexpr std::uint64_t floodBytes = 10'000'000;

// AddressSanitizer keeps freed memory in quarantine, so VmRSS there measures the
// sanitizer; leaks are LeakSanitizer's to find in that build.
#ifdef __SANITIZE_ADDRESS__
constexpr bool memoryIsSanitized = true;
#else
constexpr bool memoryIsSanitized = false;
#endif

TEST(FloodFault, tenMegabytesAreAllDecodedWithoutGrowingMemory)
{
    WindowOnBoard window;
    TForm1 &form = window.form;
    ModalWatcher boxes;
    FaultRun run("flood", 1);
    QElapsedTimer clock;
    clock.start();
    std::vector<qint64> tickTimes;
    QObject::connect(form.Timer1, &PeriodicTimer::timeout, [&] { tickTimes.push_back(clock.nsecsElapsed()); });

    form.Button1->click();
    ASSERT_TRUE(form.ComPort1->Connected());
    // Warm up: the chart's first sweep and Qt's caches are no growth of the flood's.
    form.SpinEdit4->setValue(200);
    form.Button7->click();
    ASSERT_TRUE(FaultRun::processEventsUntil([&] { return tickTimes.size() >= 25; }));
    const std::int64_t residentBefore = ProcessProbe::residentKb();

    std::uint64_t sent = 0, bytesSent = 0;
    const std::uint64_t decodedBefore = form.decoder().decodedCount();
    double floodSeconds = 0;
    tickTimes.clear();
    // A flood can be over within two ticks; the period is judged over at least three.
    while (run.nextRound() || tickTimes.size() < 3) {
        BoardFeeder feeder(window.board, 0us, 1000, floodBytes);
        const qint64 start = clock.nsecsElapsed();
        ASSERT_TRUE(FaultRun::processEventsUntil(
            [&] { return feeder.finished() && form.decoder().decodedCount() - decodedBefore == sent + feeder.readingsSent(); },
            FaultRun::longestWaitMs))
            << "decoded " << form.decoder().decodedCount() - decodedBefore << " of " << sent + feeder.readingsSent();
        floodSeconds += double(clock.nsecsElapsed() - start) / 1e9;
        sent += feeder.readingsSent();
        bytesSent += feeder.bytesSent();
    }
    const std::vector<qint64> floodTicks = tickTimes;
    const std::uint64_t decoded = form.decoder().decodedCount() - decodedBefore;
    const std::int64_t residentAfter = ProcessProbe::residentKb();

    // Stop in the middle of a flood.
    BoardFeeder feeder(window.board, 0us, 1000);
    const int deliveries = window.deliveries;
    ASSERT_TRUE(FaultRun::processEventsUntil([&] { return window.deliveries > deliveries + 10; }));
    QElapsedTimer stopClock;
    stopClock.start();
    form.Button2->click();
    const double stopMs = double(stopClock.nsecsElapsed()) / 1e6;
    feeder.stop();

    EXPECT_FALSE(form.ComPort1->Connected());
    EXPECT_EQ(form.decoder().droppedCount(), 0u);
    EXPECT_TRUE(boxes.boxes().isEmpty());
    if (!memoryIsSanitized) {
        EXPECT_LT(residentAfter - residentBefore, 10 * 1024) << "VmRSS grew by " << residentAfter - residentBefore << " kB";
    }

    std::vector<double> periods;
    for (std::size_t i = 1; i < floodTicks.size(); ++i)
        periods.push_back(double(floodTicks[i] - floodTicks[i - 1]) / 1e6);
    ASSERT_FALSE(periods.empty()) << "no tick ran during the flood";
    const double meanPeriod = (double(floodTicks.back() - floodTicks.front()) / 1e6) / double(periods.size());

    run.report("megabytes_sent", double(bytesSent) / 1e6);
    run.report("readings_sent", double(sent));
    run.report("readings_decoded", double(decoded));
    run.report("readings_lost", double(sent) - double(decoded));
    run.report("seconds", floodSeconds);
    run.report("tick_period_mean_ms", meanPeriod);
    run.report("tick_period_max_ms", *std::max_element(periods.begin(), periods.end()));
    run.report("stop_ms", stopMs);
    run.report("rss_before_kb", double(residentBefore));
    run.report("rss_after_kb", double(residentAfter));
    run.report("peak_rss_kb", double(ProcessProbe::peakResidentKb()));
}

} // namespace
