// Speed and memory of the sweep chart with whole sweeps of data.
//   build/bench/bench_chart --benchmark_filter=Repaint/100001
// runs the chart's drawing pass and the naive reference (one drawLine per segment) on
// the same data, so the two times give the ratio.
//   build/bench/bench_chart --benchmark_filter=BM_Tick
// one display tick with a short and a whole long sweep on the chart: its cost must not
// grow with the points already drawn. append_us is the CPU time of the tick's six
// appends, paint_us that of the repaint after them.
//   build/bench/bench_chart --benchmark_filter=PointerMove/100001
// one pointer move over the chart with the readout and a mark shown.

#include "app/SweepChartDesign.h"
#include "chart/Chart.h"
#include "chart/LineSeries.h"

#include <QCoreApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>
#include <malloc.h>
#include <memory>
#include <time.h>

namespace {

double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

constexpr std::array<TColor, 6> pointColors = {clBlack, clRed, clLime, clMaroon, clTeal, clBlue};

// The main window's chart, 825 x 249, with one sweep of `points` readings per channel
// (increment 1): a slow wave with noise, as a live board gives.
struct SweepChart
{
    explicit SweepChart(int points)
    {
        chart.resize(825, 249);
        applyChart1Design(chart, series);
        chart.BottomAxis().setMaximum(points - 1);
        for (std::size_t c = 0; c < series.size(); ++c) {
            series[c]->LinePen().setWidth(2);
            unsigned noise = 12345 + unsigned(c);
            for (int x = 0; x < points; ++x) {
                noise = noise * 1103515245 + 12345;
                const double wave = 500 + 400 * std::sin(x * 6.28 / points * 3 + double(c));
                series[c]->AppendPoint(x, std::round(wave + double((noise >> 16) % 40)), QString(), pointColors[c]);
            }
        }
    }

    TChart chart;
    std::array<TLineSeries *, 6> series{};
};

void repaint(benchmark::State &state, bool reduced)
{
    SweepChart sweep(int(state.range(0)));
    sweep.chart.setLineReduction(reduced);
    QImage screen(sweep.chart.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        sweep.chart.Invalidate();
        sweep.chart.render(&screen);
        benchmark::DoNotOptimize(screen.constBits());
    }
}

// The chart's own drawing pass into its off-screen image, copied to a window surface.
void BM_FullRepaint(benchmark::State &state)
{
    repaint(state, true);
}
BENCHMARK(BM_FullRepaint)->Arg(201)->Arg(100001)->Unit(benchmark::kMillisecond);

// The same pass drawing every segment with its own QPainter::drawLine.
void BM_NaiveRepaint(benchmark::State &state)
{
    repaint(state, false);
}
BENCHMARK(BM_NaiveRepaint)->Arg(201)->Arg(100001)->Unit(benchmark::kMillisecond);

// One display tick: a chart on screen whose six series hold range(0) points each gets one
// point more on every series, at the next X, and the window repaints as it would (the
// paint event of the window's update, with its backing store).
void BM_Tick(benchmark::State &state)
{
    const int held = int(state.range(0));
    SweepChart sweep(held);
    // Room for as many ticks again, so that the new points land inside the plot.
    sweep.chart.BottomAxis().setMaximum(2.0 * held);
    sweep.chart.show();
    QCoreApplication::processEvents();
    int x = held;
    double appendSeconds = 0;
    double paintSeconds = 0;
    for (auto _ : state) {
        const double start = threadCpuSeconds();
        for (std::size_t c = 0; c < sweep.series.size(); ++c)
            sweep.series[c]->AppendPoint(x, 500 + 50 * double(c) + x % 7, QString(), pointColors[c]);
        const double appended = threadCpuSeconds();
        QCoreApplication::processEvents();
        appendSeconds += appended - start;
        paintSeconds += threadCpuSeconds() - appended;
        if (++x == 2 * held) {
            state.PauseTiming();
            for (TLineSeries *line : sweep.series) {
                line->ClearPoints();
                for (int i = 0; i < held; ++i)
                    line->AppendPoint(i, 500, QString(), clBlack);
            }
            QCoreApplication::processEvents();
            x = held;
            state.ResumeTiming();
        }
    }
    const double ticks = double(state.iterations());
    state.counters["passes_per_tick"] = double(sweep.chart.drawingPasses()) / ticks;
    state.counters["append_us"] = 1e6 * appendSeconds / ticks;
    state.counters["paint_us"] = 1e6 * paintSeconds / ticks;
}
BENCHMARK(BM_Tick)->Arg(201)->Arg(100001)->Unit(benchmark::kMicrosecond);

// One append at the end of a series already holding range(0) points.
void BM_AppendPointAtEnd(benchmark::State &state)
{
    const int held = int(state.range(0));
    TChart chart;
    auto owned = std::make_unique<TLineSeries>();
    TLineSeries &series = *owned;
    chart.AddSeries(std::move(owned));
    const auto refill = [&] {
        series.ClearPoints();
        for (int x = 0; x < held; ++x)
            series.AppendPoint(x, 1, QString(), clRed);
    };
    refill();
    int x = held;
    for (auto _ : state) {
        benchmark::DoNotOptimize(series.AppendPoint(x, 512, QString(), clRed));
        if (++x == held + 100000) {
            state.PauseTiming();
            refill();
            x = held;
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_AppendPointAtEnd)->Arg(0)->Arg(1000)->Arg(100000);

// One picture of the form's chart with the default sweep (201 points a channel).
void BM_SaveBitmapFile(benchmark::State &state)
{
    SweepChart sweep(201);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("bench.bmp"));
    for (auto _ : state)
        sweep.chart.SaveBitmapFile(path);
}
BENCHMARK(BM_SaveBitmapFile)->Unit(benchmark::kMillisecond);

// What a mouse press on the plotting area lands on, when it misses every trace: each
// active series walks its visible line.
void BM_PressTarget(benchmark::State &state)
{
    SweepChart sweep(int(state.range(0)));
    QImage screen(sweep.chart.size(), QImage::Format_RGB32);
    sweep.chart.render(&screen); // lays the chart out as the window shows it
    const QPoint abovePeaks(sweep.chart.plotRect().left + 200, sweep.chart.plotRect().top + 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(sweep.chart.Zoom().pressTarget(abovePeaks));
}
BENCHMARK(BM_PressTarget)->Arg(201)->Arg(100001)->Unit(benchmark::kMillisecond);

// One pointer move over the plotting area of a chart on screen whose six series hold
// range(0) points each, with a mark pinned: the readout finds every trace's value at the
// pointer and at the mark, and the window repaints the overlay's old and new places.
void BM_PointerMove(benchmark::State &state)
{
    SweepChart sweep(int(state.range(0)));
    TChart &chart = sweep.chart;
    chart.show();
    QCoreApplication::processEvents();
    const ChartRect &plot = chart.plotRect();
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button) {
        QMouseEvent event(type, at, chart.mapToGlobal(at), button, type == QEvent::MouseButtonPress ? button : Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&chart, &event);
        QCoreApplication::processEvents();
    };
    const QPoint mark(plot.left + 100, plot.top + 50);
    send(QEvent::MouseButtonPress, mark, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, mark, Qt::LeftButton);
    const int passes = chart.drawingPasses();
    int step = 0;
    for (auto _ : state) {
        // Back and forth over 200 columns, so that the box's values change on the way.
        const int offset = step < 200 ? step : 400 - step;
        step = (step + 1) % 400;
        send(QEvent::MouseMove, QPoint(plot.left + 300 + offset, plot.top + 60), Qt::NoButton);
    }
    state.counters["passes_per_move"] = double(chart.drawingPasses() - passes) / double(state.iterations());
}
BENCHMARK(BM_PointerMove)->Arg(201)->Arg(100001)->Unit(benchmark::kMicrosecond);

std::size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Heap bytes a series of range(0) points holds, per point, malloc's own overhead included.
void BM_MemoryPerPoint(benchmark::State &state)
{
    const int points = int(state.range(0));
    double perPoint = 0;
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        {
            TLineSeries series;
            for (int x = 0; x < points; ++x)
                series.AppendPoint(x, x % 1024, QString(), clBlack);
            perPoint = double(heapInUse() - before) / points;
        }
    }
    state.counters["bytes_per_point"] = perPoint;
}
BENCHMARK(BM_MemoryPerPoint)->Arg(100001)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
