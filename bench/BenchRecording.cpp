// What one recording buffer costs the thread that writes it, and so why the GUI thread
// hands buffers to a writer thread instead of writing them itself.
//
//   RecordBufferWrite   one full buffer (ReadingRecorder::bufferSize) appended to a
//                       recording file, followed by an fsync when the second argument
//                       is 1; first argument 0 writes to tmpfs, 1 to the disc under the
//                       working folder. max_ms is the slowest write: what the window
//                       would freeze for.

#include "app/PosixRecordFile.h"
#include "app/ReadingRecorder.h"
#include "app/RecordFormat.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

namespace {

void RecordBufferWrite(benchmark::State &state)
{
    const bool onDisc = state.range(0) != 0;
    const bool sync = state.range(1) != 0;
    const QTemporaryDir folder(onDisc || !QDir("/dev/shm").exists() ? QDir::current().filePath("ondrix-bench-XXXXXX")
                                                                     : QStringLiteral("/dev/shm/ondrix-bench-XXXXXX"));
    const auto file = PosixRecordFile::open(folder.filePath(QStringLiteral("buffers.csv")));
    std::string time;
    RecordFormat::formatTime(time, RecordFormat::now());
    std::string buffer;
    for (int i = 0; buffer.size() < ReadingRecorder::bufferSize; ++i)
        RecordFormat::appendReading(buffer, time, i % 6, i % 1024);
    double slowest = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        file->append(buffer);
        if (sync)
            file->sync();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        slowest = std::max(slowest, seconds);
    }
    state.counters["max_ms"] = slowest * 1000;
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(buffer.size()));
}

} // namespace

BENCHMARK(RecordBufferWrite)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"disc", "sync"})
    ->UseManualTime()
    ->Iterations(300)
    ->Unit(benchmark::kMicrosecond);
