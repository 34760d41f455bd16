// Wire text through a pseudo-terminal, the serial engine, the hand-over to the GUI
// thread and the reading decoder, as the main window receives it.
//
//   Throughput   as fast as the line takes it: readings_per_s, lost, wrong
//   ThroughputRecording   the same, every reading also recorded to a CSV file on tmpfs:
//                file_lines and file_wrong compare the file with what was sent. Both
//                give cpu_ms, the process's CPU time per run, steadier than the rate
//                on a busy machine.
//   Line115200   about 2300 readings per second: cpu_percent of the program (the writer
//                thread's own time is left out). Second argument: readings per write,
//                1 for the worst case, 3 for a USB adapter handing over one 1 ms frame.
//   Line115200Floor  the same line received by a bare epoll thread that hands each
//                delivery to a second thread through a mutex and condition variable and
//                waits while that thread reads the bytes: the three thread hops of the
//                hand-over without Qt or the engine. cpu_percent, and as overhead the
//                engine's figure (the median of the Line115200 runs before it) over this
//                one. Both run three times; the scheduling of the threads on two cores
//                moves single runs by a third: read the medians.
//   Rate6000     6000 writes a second of one reading each for range(0) seconds, as a fast
//                USB board may send them: cpu_percent (the writer's own time left out),
//                cpu_us_per_reading, deliveries_per_s (OnRxChar calls), latency_us_median
//                and latency_us_p99 from the write to the reading's decode, lost. range(1):
//                0 reads the pseudo-terminal itself, 1 reads it through a ser2net on
//                127.0.0.1 over RFC 2217 (ser2net's own time is not in the figures).
//   Vanished     the device's other side closes: cpu_ms over the following second
//   PortClaim    Start (OpenPort) while other processes hold N descriptors open on a
//                regular file, N = 0 and 30000 (in one process when the descriptor limit
//                allows, else in as few as it does: `holders`): the look for other holders
//                of the port reads every descriptor of every process. cpu_ms is the GUI
//                thread's CPU time per Start; over_none_ms and over_none_cpu_ms compare
//                with the N = 0 run before.
//   DescriptorWalkFloor  the least any look through /proc must do for those N
//                descriptors: list the holders' descriptors and read each one's link,
//                nothing else. cpu_ms per walk.

#include "app/AcquisitionState.h"
#include "app/ReadingDecoder.h"
#include "app/ReadingRecorder.h"
#include "serial/ComPort.h"
#include "serial/ComThread.h"
#include "serial/PosixSerialDevice.h"
#include "tests/support/Ser2netProcess.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <stdexcept>
#include <stdlib.h>
#include <string>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The board's side of a fresh pseudo-terminal.
class Board
{
public:
    Board()
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        char name[128];
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0
            || ptsname_r(m_master, name, sizeof name) != 0)
            throw std::runtime_error("no pseudo-terminal");
        m_path = QString::fromLocal8Bit(name);
    }
    ~Board() { closeMaster(); }

    QString path() const { return m_path; }

    void write(const std::string &text)
    {
        std::size_t done = 0;
        while (done < text.size()) {
            const ssize_t n = ::write(m_master, text.data() + done, text.size() - done);
            if (n <= 0)
                throw std::runtime_error("write to the pseudo-terminal failed");
            done += std::size_t(n);
        }
    }

    void closeMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    QString m_path;
};

// Reading i: channel i mod 6, value a function of i that changes with every reading.
int channelOf(std::size_t i) { return int(i % channelCount); }
int valueOf(std::size_t i) { return int((i * 37) % 1024); }
char tagOf(int channel) { return channel == 5 ? 'a' : char('b' + channel); }

std::string readingText(std::size_t i)
{
    return std::to_string(valueOf(i)) + tagOf(channelOf(i));
}

// The main window's port and its received-characters handler, with a check of every
// reading against what was sent.
class Receiver
{
public:
    explicit Receiver(const QString &path, std::size_t expected) : m_decoder(m_state), m_expected(expected)
    {
        m_state.multiplier = 1;
        m_port.setPort(path);
        m_port.FlowControl().setOutCTSFlow(true);
        m_port.FlowControl().setControlRTS(rtsHandshake);
        m_port.Timeouts().setReadInterval(10);
        m_port.OnRxChar = [this](TCustomComPort &sender, int count) { onRxChar(sender, count); };
    }

    TComPort &port() { return m_port; }

    // Notes when each reading is decoded, for latencies against the time it was written.
    void timeReadings() { m_decodedAt.reserve(m_expected); m_timed = true; }
    const std::vector<Clock::time_point> &decodedAt() const { return m_decodedAt; }
    std::size_t deliveries() const { return m_deliveries; }

    // Every reading also goes to recorder, as in the main window.
    void record(ReadingRecorder &recorder)
    {
        m_recorder = &recorder;
        m_decoder.setSink(&recorder);
    }

    // Runs the GUI loop until every reading came or boundMs passed.
    void receive(int boundMs)
    {
        if (m_good + m_wrong >= m_expected)
            return;
        QTimer::singleShot(boundMs, &m_loop, &QEventLoop::quit);
        m_loop.exec();
    }

    std::size_t good() const { return m_good; }
    std::size_t wrong() const { return m_wrong + std::size_t(m_decoder.droppedCount()); }

private:
    void onRxChar(TCustomComPort &sender, int count)
    {
        ++m_deliveries;
        static_cast<TComPort &>(sender).ReadText(m_text, count);
        if (m_recorder)
            m_recorder->beginDelivery();
        // Decoded one reading at a time, so that each value can be checked in its slot.
        std::size_t start = 0;
        for (std::size_t i = 0; i < m_text.size(); ++i) {
            if (ReadingDecoder::channelOfTag(m_text[i]) < 0)
                continue;
            m_decoder.decode(std::string_view(m_text).substr(start, i + 1 - start));
            checkReading(m_text[i]);
            start = i + 1;
        }
        m_decoder.decode(std::string_view(m_text).substr(start));
        if (m_good + m_wrong >= m_expected)
            m_loop.quit();
    }

    void checkReading(char tag)
    {
        const int channel = ReadingDecoder::channelOfTag(tag);
        const bool right = channel == channelOf(m_next) && m_state.adcValue[std::size_t(channel)] == valueOf(m_next);
        ++(right ? m_good : m_wrong);
        ++m_next;
        if (m_timed)
            m_decodedAt.push_back(Clock::now());
    }

    AcquisitionState m_state;
    ReadingDecoder m_decoder;
    TComPort m_port;
    QEventLoop m_loop;
    ReadingRecorder *m_recorder = nullptr;
    std::string m_text;
    std::size_t m_expected;
    std::size_t m_next = 0;
    std::size_t m_good = 0;
    std::size_t m_wrong = 0;
    std::size_t m_deliveries = 0;
    bool m_timed = false;
    std::vector<Clock::time_point> m_decodedAt;
};

double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Lines of a recording that differ from the readings sent, the missing ones included.
std::size_t wrongLines(const QString &path, std::size_t readings, std::size_t &lines)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.readLine() != "time_s,channel,value\n")
        return readings;
    std::size_t wrong = 0;
    lines = 0;
    for (QByteArray line = file.readLine(); !line.isEmpty(); line = file.readLine(), ++lines) {
        const QByteArray expected = ",ADC" + QByteArray::number(channelOf(lines)) + ',' + QByteArray::number(valueOf(lines)) + '\n';
        wrong += lines >= readings || !line.endsWith(expected);
    }
    return wrong + (readings > lines ? readings - lines : 0);
}

void runThroughput(benchmark::State &state, bool recording)
{
    const std::size_t readings = std::size_t(state.range(0));
    std::string wire;
    for (std::size_t i = 0; i < readings; ++i)
        wire += readingText(i);
    // tmpfs, so that the disc's own speed is left out.
    const QTemporaryDir folder(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/ondrix-bench-XXXXXX") : QString());
    std::size_t good = 0, wrong = 0, lines = 0, wrongInFile = 0, run = 0;
    double cpu = 0;
    for (auto _ : state) {
        Board board;
        Receiver receiver(board.path(), readings);
        const QString path = folder.filePath(QStringLiteral("run%1.csv").arg(++run));
        auto recorder = std::make_unique<ReadingRecorder>();
        if (recording) {
            recorder->start(path);
            receiver.record(*recorder);
        }
        receiver.port().OpenPort();
        const auto start = Clock::now();
        const double cpuBefore = processCpuSeconds();
        std::thread writer([&] {
            for (std::size_t at = 0; at < wire.size(); at += 4096)
                board.write(wire.substr(at, 4096));
        });
        receiver.receive(60000);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        cpu += processCpuSeconds() - cpuBefore;
        writer.join();
        receiver.port().ClosePort();
        state.SetIterationTime(seconds);
        good += receiver.good();
        wrong += receiver.wrong();
        state.SetBytesProcessed(state.bytes_processed() + std::int64_t(wire.size()));
        if (recording) {
            recorder.reset(); // waits until the file is complete
            std::size_t fileLines = 0;
            wrongInFile += wrongLines(path, readings, fileLines);
            lines += fileLines;
        }
    }
    const std::size_t sent = readings * std::size_t(state.iterations());
    state.counters["readings_per_s"] = benchmark::Counter(double(sent), benchmark::Counter::kIsRate);
    state.counters["lost"] = double(sent - good - wrong);
    state.counters["wrong"] = double(wrong);
    state.counters["cpu_ms"] = benchmark::Counter(cpu * 1000, benchmark::Counter::kAvgIterations);
    if (recording) {
        state.counters["file_lines"] = double(lines);
        state.counters["file_wrong"] = double(wrongInFile);
    }
}

void Throughput(benchmark::State &state)
{
    runThroughput(state, false);
}

void ThroughputRecording(benchmark::State &state)
{
    runThroughput(state, true);
}

// Writes readings 0 .. count - 1 at perSecond, perWrite to a write, from its own thread,
// timing its own CPU so that it can be left out of the receiving program's figure.
class PacedWriter
{
public:
    PacedWriter(Board &board, std::size_t count, std::size_t perWrite, int perSecond)
        : m_writtenAt(count), m_thread([this, &board, count, perWrite, perSecond] {
              const double own = threadCpuSeconds();
              for (std::size_t i = 0; i < count; i += perWrite) {
                  std::this_thread::sleep_until(m_start + std::chrono::microseconds(i * 1000000 / perSecond));
                  std::string text;
                  for (std::size_t k = i; k < std::min(i + perWrite, count); ++k)
                      text += readingText(k);
                  m_writtenAt[i] = Clock::now();
                  board.write(text);
              }
              m_cpu = threadCpuSeconds() - own;
          })
    {
    }
    ~PacedWriter() { join(); }

    void join()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    Clock::time_point start() const { return m_start; }
    // Valid after join().
    double cpuSeconds() const { return m_cpu; }
    // When the write that began with reading i started; valid after join().
    Clock::time_point writtenAt(std::size_t i) const { return m_writtenAt[i]; }

private:
    const Clock::time_point m_start = Clock::now();
    double m_cpu = 0;
    std::vector<Clock::time_point> m_writtenAt;
    std::thread m_thread;
};

constexpr int line115200PerSecond = 2300;

// The engine's cpu_percent runs by readings per write, for the floor's overhead figure.
std::map<std::size_t, std::vector<double>> &engineCpuPercent()
{
    static std::map<std::size_t, std::vector<double>> figures;
    return figures;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void Line115200(benchmark::State &state)
{
    const int seconds = int(state.range(0));
    const std::size_t perWrite = std::size_t(state.range(1));
    const std::size_t readings = std::size_t(line115200PerSecond * seconds);
    for (auto _ : state) {
        Board board;
        Receiver receiver(board.path(), readings);
        receiver.port().OpenPort();
        const double cpuBefore = processCpuSeconds();
        PacedWriter writer(board, readings, perWrite, line115200PerSecond);
        receiver.receive(seconds * 1000 + 20000);
        writer.join();
        const double wall = std::chrono::duration<double>(Clock::now() - writer.start()).count();
        const double cpu = processCpuSeconds() - cpuBefore - writer.cpuSeconds();
        receiver.port().ClosePort();
        state.SetIterationTime(wall);
        state.counters["cpu_percent"] = 100.0 * cpu / wall;
        state.counters["lost"] = double(readings - receiver.good() - receiver.wrong());
        state.counters["wrong"] = double(receiver.wrong());
        engineCpuPercent()[perWrite].push_back(100.0 * cpu / wall);
    }
}

// The floor of any receiver built on the design's threads: an epoll thread waits for the
// line and hands each delivery to the receiving thread (here the caller of receive()),
// blocking until that thread has read what came.
class FloorReceiver
{
public:
    explicit FloorReceiver(const QString &path)
    {
        // The device layer only opens the line and makes it raw; no read goes through it.
        m_device.open(path);
        TDCB dcb;
        dcb.BaudRate = 115200;
        dcb.Flags = TDCB::fBinary;
        dcb.ByteSize = 8;
        m_device.applyLineSettings(dcb);
        m_epoll = epoll_create1(EPOLL_CLOEXEC);
        m_stop = eventfd(0, EFD_CLOEXEC);
        epoll_event line{EPOLLIN | EPOLLET, {.fd = m_device.handle()}};
        epoll_event stop{EPOLLIN, {.fd = m_stop}};
        if (m_epoll < 0 || m_stop < 0 || epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_device.handle(), &line) != 0 ||
            epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_stop, &stop) != 0)
            throw std::runtime_error("no epoll");
        m_waiter = std::thread([this] { waitForLine(); });
    }

    ~FloorReceiver()
    {
        const std::uint64_t one = 1;
        if (::write(m_stop, &one, sizeof one) != sizeof one)
            std::abort(); // the waiter could never be stopped
        {
            std::lock_guard lock(m_mutex);
            m_ended = true;
        }
        m_changed.notify_all();
        m_waiter.join();
        ::close(m_epoll);
        ::close(m_stop);
    }

    // Takes deliveries until `bytes` came or the bound passed; returns the bytes read.
    std::size_t receive(std::size_t bytes, std::chrono::milliseconds bound)
    {
        const auto deadline = Clock::now() + bound;
        std::unique_lock lock(m_mutex);
        while (m_received < bytes) {
            if (!m_changed.wait_until(lock, deadline, [this] { return m_delivered; }))
                break;
            char chunk[4096];
            ssize_t n;
            while ((n = ::read(m_device.handle(), chunk, sizeof chunk)) > 0)
                m_received += std::size_t(n);
            m_delivered = false;
            m_changed.notify_all();
        }
        return m_received;
    }

private:
    void waitForLine()
    {
        for (;;) {
            epoll_event event{};
            if (epoll_wait(m_epoll, &event, 1, -1) < 1)
                continue;
            if (event.data.fd == m_stop)
                return;
            std::unique_lock lock(m_mutex);
            m_delivered = true;
            m_changed.notify_all();
            m_changed.wait(lock, [this] { return !m_delivered || m_ended; });
            if (m_ended)
                return;
        }
    }

    PosixSerialDevice m_device;
    int m_epoll = -1;
    int m_stop = -1;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_delivered = false;
    bool m_ended = false;
    std::size_t m_received = 0;
    std::thread m_waiter;
};

void Line115200Floor(benchmark::State &state)
{
    const int seconds = int(state.range(0));
    const std::size_t perWrite = std::size_t(state.range(1));
    const std::size_t readings = std::size_t(line115200PerSecond * seconds);
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < readings; ++i)
        bytes += readingText(i).size();
    for (auto _ : state) {
        Board board;
        FloorReceiver receiver(board.path());
        const double cpuBefore = processCpuSeconds();
        PacedWriter writer(board, readings, perWrite, line115200PerSecond);
        const std::size_t received = receiver.receive(bytes, std::chrono::seconds(seconds + 20));
        writer.join();
        const double wall = std::chrono::duration<double>(Clock::now() - writer.start()).count();
        const double cpu = processCpuSeconds() - cpuBefore - writer.cpuSeconds();
        state.SetIterationTime(wall);
        state.counters["cpu_percent"] = 100.0 * cpu / wall;
        state.counters["lost_bytes"] = double(bytes - received);
        const auto engine = engineCpuPercent().find(perWrite);
        if (engine != engineCpuPercent().end())
            state.counters["overhead"] = median(engine->second) / (100.0 * cpu / wall);
    }
}

// The value below which share of the sorted values lies.
double percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(share * double(values.size())))];
}

void Rate6000(benchmark::State &state)
{
    constexpr int perSecond = 6000;
    const int seconds = int(state.range(0));
    const bool throughSer2net = state.range(1) == 1;
    const std::size_t readings = std::size_t(perSecond * seconds);
    if (throughSer2net && !Ser2netProcess::installed()) {
        state.SkipWithError("ser2net is not installed");
        return;
    }
    for (auto _ : state) {
        Board board;
        std::optional<Ser2netProcess> server;
        if (throughSer2net)
            server.emplace(board.path(), Ser2netProcess::Protocol::Rfc2217);
        if (server && !server->error().isEmpty()) {
            state.SkipWithError(server->error().toStdString().c_str());
            return;
        }
        Receiver receiver(server ? server->url() : board.path(), readings);
        receiver.timeReadings();
        receiver.port().OpenPort();
        const double cpuBefore = processCpuSeconds();
        PacedWriter writer(board, readings, 1, perSecond);
        receiver.receive(seconds * 1000 + 20000);
        writer.join();
        const double wall = std::chrono::duration<double>(Clock::now() - writer.start()).count();
        const double cpu = processCpuSeconds() - cpuBefore - writer.cpuSeconds();
        receiver.port().ClosePort();
        std::vector<double> latencies;
        for (std::size_t i = 0; i < receiver.decodedAt().size(); ++i)
            latencies.push_back(std::chrono::duration<double, std::micro>(receiver.decodedAt()[i] - writer.writtenAt(i)).count());
        state.SetIterationTime(wall);
        state.counters["cpu_percent"] = 100.0 * cpu / wall;
        state.counters["cpu_us_per_reading"] = 1e6 * cpu / double(readings);
        state.counters["deliveries_per_s"] = double(receiver.deliveries()) / wall;
        state.counters["latency_us_median"] = percentile(latencies, 0.5);
        state.counters["latency_us_p99"] = percentile(latencies, 0.99);
        state.counters["lost"] = double(readings - receiver.good() - receiver.wrong());
        state.counters["wrong"] = double(receiver.wrong());
    }
}

void Vanished(benchmark::State &state)
{
    for (auto _ : state) {
        Board board;
        Receiver receiver(board.path(), 1);
        receiver.port().OpenPort();
        board.write(readingText(0));
        receiver.receive(20000);
        board.closeMaster();
        const double cpuBefore = processCpuSeconds();
        const auto start = Clock::now();
        QEventLoop idle;
        QTimer::singleShot(1000, &idle, &QEventLoop::quit);
        idle.exec();
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        const double cpu = processCpuSeconds() - cpuBefore;
        const bool ended = receiver.port().EventThread()->Ended();
        receiver.port().ClosePort();
        state.SetIterationTime(wall);
        state.counters["cpu_ms"] = cpu * 1000.0;
        state.counters["thread_ended"] = ended ? 1 : 0;
    }
}

// Other processes with `count` descriptors open on one regular file, until destroyed:
// one process, unless this user may not open that many in one; then as few as the
// limit allows.
class DescriptorHolders
{
public:
    explicit DescriptorHolders(int count)
    {
        if (!m_file.open())
            return;
        const QByteArray file = QFile::encodeName(m_file.fileName());
        rlimit limit{};
        getrlimit(RLIMIT_NOFILE, &limit);
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit); // inherited by the holders
        const int perProcess = int(std::min<rlim_t>(limit.rlim_max, 1 << 24)) - 64;
        m_holding = true;
        for (int left = count; left > 0 && m_holding; left -= perProcess)
            m_holding = startHolder(file, std::min(left, perProcess));
    }

    ~DescriptorHolders()
    {
        // Each holder keeps copies of the release ends made before it: all go first.
        for (const int release : m_releases)
            ::close(release);
        for (const pid_t child : m_children)
            waitpid(child, nullptr, 0);
    }

    DescriptorHolders(const DescriptorHolders &) = delete;
    DescriptorHolders &operator=(const DescriptorHolders &) = delete;

    bool holding() const { return m_holding; }
    std::size_t processes() const { return m_children.size(); }
    const std::vector<pid_t> &children() const { return m_children; }

private:
    bool startHolder(const QByteArray &file, int count)
    {
        int ready[2];
        int hold[2];
        if (pipe2(ready, O_CLOEXEC) != 0)
            return false;
        if (pipe2(hold, O_CLOEXEC) != 0) {
            ::close(ready[0]);
            ::close(ready[1]);
            return false;
        }
        const pid_t child = fork();
        if (child == 0) {
            // Only async-signal-safe calls in the child of a threaded process.
            ::close(hold[1]);
            int opened = 0;
            while (opened < count && ::open(file.constData(), O_RDONLY) >= 0)
                ++opened;
            char answer = opened == count ? 'y' : 'n';
            [[maybe_unused]] ssize_t n = ::write(ready[1], &answer, 1);
            n = ::read(hold[0], &answer, 1);
            _exit(0);
        }
        ::close(ready[1]);
        ::close(hold[0]);
        m_releases.push_back(hold[1]);
        if (child > 0)
            m_children.push_back(child);
        char answer = 'n';
        const bool holding = child > 0 && ::read(ready[0], &answer, 1) == 1 && answer == 'y';
        ::close(ready[0]);
        return holding;
    }

    QTemporaryFile m_file;
    std::vector<int> m_releases;
    std::vector<pid_t> m_children;
    bool m_holding = false;
};

void PortClaim(benchmark::State &state)
{
    static double withoutHolderMs = 0;
    static double withoutHolderCpuMs = 0;
    const DescriptorHolders holders(int(state.range(0)));
    if (!holders.holding()) {
        state.SkipWithError("the descriptors could not be opened");
        return;
    }
    Board board;
    Receiver receiver(board.path(), 0);
    double wall = 0;
    double cpu = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const double cpuBefore = threadCpuSeconds();
        receiver.port().OpenPort();
        cpu += threadCpuSeconds() - cpuBefore;
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        receiver.port().ClosePort();
        state.SetIterationTime(seconds);
        wall += seconds;
    }
    const double meanMs = wall * 1000 / double(state.iterations());
    const double cpuMs = cpu * 1000 / double(state.iterations());
    state.counters["cpu_ms"] = cpuMs;
    state.counters["holders"] = double(holders.processes());
    if (state.range(0) == 0) {
        withoutHolderMs = meanMs;
        withoutHolderCpuMs = cpuMs;
    } else if (withoutHolderMs > 0) {
        state.counters["over_none_ms"] = meanMs - withoutHolderMs;
        state.counters["over_none_cpu_ms"] = cpuMs - withoutHolderCpuMs;
    }
}

void DescriptorWalkFloor(benchmark::State &state)
{
    const DescriptorHolders holders(int(state.range(0)));
    if (!holders.holding()) {
        state.SkipWithError("the descriptors could not be opened");
        return;
    }
    double cpu = 0;
    std::size_t links = 0;
    char target[4096];
    for (auto _ : state) {
        const double cpuBefore = threadCpuSeconds();
        for (const pid_t child : holders.children()) {
            DIR *descriptors = opendir(("/proc/" + std::to_string(child) + "/fd").c_str());
            while (const dirent *entry = descriptors ? readdir(descriptors) : nullptr)
                links += readlinkat(dirfd(descriptors), entry->d_name, target, sizeof target) > 0;
            if (descriptors)
                closedir(descriptors);
        }
        const double seconds = threadCpuSeconds() - cpuBefore;
        state.SetIterationTime(seconds);
        cpu += seconds;
    }
    state.counters["cpu_ms"] = cpu * 1000 / double(state.iterations());
    state.counters["links"] = double(links) / double(state.iterations());
}

} // namespace

BENCHMARK(Throughput)->Arg(200000)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(ThroughputRecording)->Arg(200000)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(Line115200)->Args({5, 1})->Args({5, 3})->UseManualTime()->Iterations(1)->Repetitions(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Line115200Floor)->Args({5, 1})->Args({5, 3})->UseManualTime()->Iterations(1)->Repetitions(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Rate6000)->Args({5, 0})->Args({5, 1})->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(Vanished)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(PortClaim)->Arg(0)->Arg(30000)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(DescriptorWalkFloor)->Arg(30000)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
