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
//   build/bench/bench_display --benchmark_filter=DefaultRecording   the same, recording every
//                 reading into a file in the working folder: lost counts the readings
//                 missing from the recording
//   build/bench/bench_display --benchmark_filter=RecorderAlone   ondrix-record, the recording
//                 without the window, on the same stream into the same kind of file:
//                 cpu_percent and max_rss_mb of that process, lost as above
//
// Offscreen by default; on a virtual X server (Xvfb, QT_QPA_PLATFORM=xcb) with
//   scripts/on-virtual-display.sh build/bench/bench_display --benchmark_filter=Fastest
// The label names the platform.

#include "app/Form1.h"
#include "app/ReadingRecorder.h"
#include "serial/ComPort.h"
#include "tests/support/PtyPair.h"
#include "widgets/SpinEdit.h"

#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <time.h>

namespace {

using Clock = std::chrono::steady_clock;

struct DisplaySettings
{
    int period;    // ms
    int increment; // per tick
    int length;
    bool recording = false;
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

// The board sending count readings, one a write, writesPerSecond writes a second from
// start, on a thread of its own whose CPU time the figures leave out.
class PacedBoard
{
public:
    PacedBoard(PtyPair &board, Clock::time_point start, int count)
        : m_count(count), m_thread([this, &board, start] {
              const double own = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
              for (; m_written < m_count && !m_stop; ++m_written) {
                  std::this_thread::sleep_until(start + std::chrono::microseconds(std::int64_t(m_written) * 1000000 / writesPerSecond));
                  board.write(readingText(m_written));
              }
              m_cpu = cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - own;
          })
    {
    }
    ~PacedBoard()
    {
        m_stop = true;
        join();
    }

    // Once join() has returned, the readings written.
    int count() const { return m_written; }

    // Waits until all are written; the writer's CPU seconds.
    double join()
    {
        if (m_thread.joinable())
            m_thread.join();
        return m_cpu;
    }

private:
    const int m_count;
    int m_written = 0;
    std::atomic<bool> m_stop{false};
    double m_cpu = 0;
    std::thread m_thread;
};

// The process's peak resident memory (VmHWM) in MB, 0 when unknown. The kernel's
// accounting of a spawned child counts the parent's memory too, from before the exec.
double peakResidentMb(pid_t pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
    }
    return 0;
}

qint64 readingLines(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().count('\n') - 1 : -1;
}

// ondrix-record as a child process, ended by SIGTERM once every reading is in its file;
// its CPU time comes from the kernel's accounting of the child.
void RecorderAlone(benchmark::State &state)
{
    const int seconds = int(state.range(0));
    for (auto _ : state) {
        PtyPair board;
        const QTemporaryDir folder(QDir::current().filePath(QStringLiteral("ondrix-bench-XXXXXX")));
        const QByteArray path = QFile::encodeName(folder.filePath(QStringLiteral("recorder.csv")));
        const QByteArray port = QFile::encodeName(board.slavePath());
        const char *const arguments[] = {ONDRIX_RECORD, "--port", port.constData(), "--record", path.constData(), nullptr};
        pid_t recorder = -1;
        if (::posix_spawn(&recorder, ONDRIX_RECORD, nullptr, nullptr, const_cast<char *const *>(arguments), environ) != 0) {
            state.SkipWithError("ondrix-record did not start");
            return;
        }
        // The port is open once its lock is there.
        const QString lock = QStringLiteral("/run/lock/LCK..") + board.slavePath().mid(5).replace('/', '_');
        if (!QTest::qWaitFor([&] { return QFile::exists(lock); }, 20000)) {
            ::kill(recorder, SIGKILL);
            ::waitpid(recorder, nullptr, 0);
            state.SkipWithError("ondrix-record did not open the port");
            return;
        }
        const auto start = Clock::now();
        const int count = seconds * writesPerSecond;
        PacedBoard writer(board, start, count);
        // Bounded; lost tells when the bound was reached.
        static_cast<void>(
            QTest::qWaitFor([&] { return readingLines(QFile::decodeName(path)) == count; }, seconds * 1000 + 20000));
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        writer.join();
        state.counters["max_rss_mb"] = peakResidentMb(recorder);
        ::kill(recorder, SIGTERM);
        int status = 0;
        rusage usage{};
        ::wait4(recorder, &status, 0, &usage);
        const double cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
                           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
        state.SetIterationTime(wall);
        state.counters["cpu_percent"] = 100.0 * cpu / wall;
        state.counters["lost"] = double(writer.count() - readingLines(QFile::decodeName(path)));
        state.counters["exit_status"] = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
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
        const QTemporaryDir folder(QDir::current().filePath(QStringLiteral("ondrix-bench-XXXXXX")));
        if (settings.recording)
            form.recorder().arm(folder.filePath(QStringLiteral("window.csv")));
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
        PacedBoard writer(board, start, seconds * writesPerSecond);
        QEventLoop run;
        QTimer::singleShot(seconds * 1000, &run, &QEventLoop::quit);
        run.exec();
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        const double cpuAll = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpuBefore;
        // The wait for a recording's last readings below is not part of the run.
        const int ticksRun = ticks;
        const Clock::time_point lastTickRun = lastTick;
        const double writerCpu = writer.join();
        if (settings.recording) {
            // Bounded; lost tells when the bound was reached.
            static_cast<void>(QTest::qWaitFor(
                [&] { return form.decoder().decodedCount() == std::uint64_t(writer.count()); }, 20000));
            state.counters["lost"] = double(writer.count() - form.recorder().readingCount());
        }
        form.Button2->click(); // Stop

        const auto schedule = start + std::chrono::milliseconds(settings.period) * ticksRun;
        state.SetIterationTime(wall);
        state.SetLabel(QGuiApplication::platformName().toStdString());
        state.counters["ticks_per_s"] = ticksRun / wall;
        state.counters["cpu_percent"] = 100.0 * (cpuAll - writerCpu) / wall;
        state.counters["cpu_us_per_tick"] = 1e6 * (cpuAll - writerCpu) / std::max(ticksRun, 1);
        state.counters["lag_ms"] = std::chrono::duration<double, std::milli>(lastTickRun - schedule).count();
        state.counters["sweep_x"] = form.state().sweepX;
    }
}

} // namespace

BENCHMARK_CAPTURE(runDisplay, Fastest, DisplaySettings{1, 1, 100000})
    ->Arg(20)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(runDisplay, Default, DisplaySettings{100, 10, 2000})
    ->Arg(20)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(runDisplay, DefaultRecording, DisplaySettings{100, 10, 2000, true})
    ->Arg(10)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(RecorderAlone)->Arg(10)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
