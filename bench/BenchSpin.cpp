// A spin field's up arrow held for range(0) ms (offscreen, real timers):
//   repeats       clicks while held, the release's own click left out (27 due in 3 s:
//                 400 ms, then every 100 ms)
//   first_ms      from the press to the first repeat (400 due)
//   mean_ms       mean time between two repeats
//   max_ms        longest time between two repeats
//
//   build/bench/bench_spin --benchmark_filter=Hold

#include "widgets/SpinButton.h"
#include "widgets/SpinEdit.h"
#include "widgets/TimerSpeedButton.h"

#include <QTest>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

void BM_Hold(benchmark::State &state)
{
    const auto hold = std::chrono::milliseconds(state.range(0));
    for (auto _ : state) {
        TSpinEdit field;
        field.setMaxValue(1000000);
        field.show();
        TTimerSpeedButton *up = field.Button()->upButton();
        std::vector<Clock::time_point> repeats;
        QObject::connect(up, &TTimerSpeedButton::clicked, [&] { repeats.push_back(Clock::now()); });

        const Clock::time_point pressed = Clock::now();
        QTest::mousePress(up, Qt::LeftButton);
        while (Clock::now() - pressed < hold)
            QTest::qWait(5);
        QTest::mouseMove(up, QPoint(-10, -10)); // let go off the arrow: no click of its own
        QTest::mouseRelease(up, Qt::LeftButton, {}, QPoint(-10, -10));

        double longest = 0;
        for (std::size_t i = 1; i < repeats.size(); ++i)
            longest = std::max(longest, std::chrono::duration<double, std::milli>(repeats[i] - repeats[i - 1]).count());
        const double span = repeats.size() > 1
                                ? std::chrono::duration<double, std::milli>(repeats.back() - repeats.front()).count()
                                : 0;
        state.counters["repeats"] = double(repeats.size());
        state.counters["first_ms"] =
            repeats.empty() ? 0 : std::chrono::duration<double, std::milli>(repeats.front() - pressed).count();
        state.counters["mean_ms"] = repeats.size() > 1 ? span / double(repeats.size() - 1) : 0;
        state.counters["max_ms"] = longest;
    }
}

} // namespace

BENCHMARK(BM_Hold)->Arg(3000)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
