// The main window showing a board that sends 1000 readings per second on each of its six
// channels, one reading a write (6000 writes a second, as a fast USB board may send them),
// every bar and trace box ticked, for range(0) seconds:
//   ticks_per_s   display ticks that ran
//   cpu_percent   of one core, the program's own threads (the board's writer left out)
//   cpu_us_per_tick  the same CPU time over the ticks that ran: steadier than the share
//                 on a busy machine, where fewer ticks run
//   lag_ms        how far the last tick ran behind its schedule (period x ticks)
//
//   build/bench/bench_display --benchmark_filter=Fastest   period 1 ms, increment 1, length 100000
//   build/bench/bench_display --benchmark_filter=Default   the window's designed settings
//
// Offscreen by default; on a virtual X server (Xvfb, QT_QPA_PLATFORM=xcb) with
//   scripts/on-virtual-display.sh build/bench/bench_display --benchmark_filter=Fastest
// The label names the platform.

#include "app/Form1.h"
#include "serial/ComPort.h"
#include "tests/support/PtyPair.h"
#include "widgets/SpinEdit.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPushButton>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <time.h>

namespace {

using Clock = std::chrono::steady_clock;

struct DisplaySettings
{
    int period;    // ms
    int increment; // per tick
    int length;
};

double cpuSeconds(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

constexpr int writesPerSecond = 1000 * channelCount;

// Reading i of the board: channels in turn, values moving along.
std::string readingText(int i)
{
    const int ch = i % channelCount;
    const char tag = ch == 5 ? 'a' : char('b' + ch);
    return std::to_string((i / channelCount * 7 + ch * 150) % 1024) + tag;
}

void applySettings(TForm1 &form, const DisplaySettings &settings)
{
    form.SpinEdit1->setValue(settings.period);
    form.Button5Click();
    form.SpinEdit2->setValue(settings.increment);
    form.Button6Click();
    form.SpinEdit4->setValue(settings.length);
    form.Button7Click();
    for (QCheckBox *box : form.BarBox)
        box->setChecked(true);
    for (QCheckBox *box : form.TraceBox)
        box->setChecked(true);
}

void runDisplay(benchmark::State &state, DisplaySettings settings)
{
    const int seconds = int(state.range(0));
    for (auto _ : state) {
        PtyPair board;
        TForm1 form;
        form.ComPort1->setPort(board.slavePath());
        applySettings(form, settings);
        form.show();
        int ticks = 0;
        Clock::time_point lastTick;
        QObject::connect(form.Timer1, &PeriodicTimer::timeout, [&] {
            ++ticks;
            lastTick = Clock::now();
        });

        const double cpuBefore = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
        const auto start = Clock::now();
        form.Button1->click(); // Start: the port opens and the display timer runs
        std::atomic<bool> stop{false};
        double writerCpu = 0;
        std::thread writer([&] {
            const double own = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
            for (int i = 0; !stop; ++i) {
                std::this_thread::sleep_until(start + std::chrono::microseconds(std::int64_t(i) * 1000000 / writesPerSecond));
                board.write(readingText(i));
            }
            writerCpu = cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - own;
        });
        QEventLoop run;
        QTimer::singleShot(seconds * 1000, &run, &QEventLoop::quit);
        run.exec();
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        const double cpuAll = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpuBefore;
        form.Button2->click(); // Stop
        stop = true;
        writer.join();

        const auto schedule = start + std::chrono::milliseconds(settings.period) * ticks;
        state.SetIterationTime(wall);
        state.SetLabel(QGuiApplication::platformName().toStdString());
        state.counters["ticks_per_s"] = ticks / wall;
        state.counters["cpu_percent"] = 100.0 * (cpuAll - writerCpu) / wall;
        state.counters["cpu_us_per_tick"] = 1e6 * (cpuAll - writerCpu) / std::max(ticks, 1);
        state.counters["lag_ms"] = std::chrono::duration<double, std::milli>(lastTick - schedule).count();
        state.counters["sweep_x"] = form.state().sweepX;
    }
}

} // namespace

BENCHMARK_CAPTURE(runDisplay, Fastest, DisplaySettings{1, 1, 100000})
    ->Arg(20)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(runDisplay, Default, DisplaySettings{100, 10, 2000})
    ->Arg(20)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
