// Feeds arbitrary bytes to the replay's recording reader as the contents of a file. It
// takes the file as a recording exactly when the first line is the header; what it hands
// on are readings of ADC0 to ADC5 whose time never goes back and that write and read back
// as themselves; every other line after the header gets one message; and a second pass
// after a rewind gives the same readings.

#include "tools/RecordingReader.h"
#include "tools/SignalStop.h"

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

bool same(const RecordFormat::Line &a, const RecordFormat::Line &b)
{
    return a.status == b.status && a.microseconds == b.microseconds && a.channel == b.channel && a.value == b.value;
}

// The name of a file in memory that holds the data, for the reader to open.
std::string fileHolding(std::string_view data)
{
    static const int fd = ::memfd_create("recording", MFD_CLOEXEC);
    if (fd < 0 || ::ftruncate(fd, 0) != 0
        || ::pwrite(fd, data.data(), data.size(), 0) != static_cast<ssize_t>(data.size()))
        std::abort();
    return "/proc/self/fd/" + std::to_string(fd);
}

void checkReading(const RecordFormat::Line &reading, const std::vector<RecordFormat::Line> &before)
{
    if (reading.status != RecordFormat::Line::reading || reading.channel < 0 || reading.channel > 5)
        std::abort();
    if (!before.empty() && reading.microseconds < before.back().microseconds)
        std::abort();
    std::string time;
    std::string line;
    RecordFormat::formatTime(time, reading.microseconds);
    RecordFormat::appendReading(line, time, reading.channel, reading.value);
    if (line.size() > RecordFormat::maxLineLength || !same(RecordFormat::parseLine(line.substr(0, line.size() - 1)), reading))
        std::abort();
}

// Every reading up to the end, each checked; the messages go to messages.
std::vector<RecordFormat::Line> readAll(RecordingReader &reader, const SignalStop &stop, std::ostream &messages)
{
    std::vector<RecordFormat::Line> readings;
    while (const std::optional<RecordFormat::Line> reading = reader.next(stop, messages)) {
        checkReading(*reading, readings);
        readings.push_back(*reading);
    }
    return readings;
}

std::size_t lineCount(std::string_view data)
{
    return std::size_t(std::count(data.begin(), data.end(), '\n')) + (!data.empty() && data.back() != '\n');
}

// A stop that came while reading, meant for libFuzzer, cut the reading short: no finding.
void expect(bool holds, const SignalStop &stop)
{
    if (!holds && !stop.requested())
        std::abort();
}

void checkRecording(std::string_view data, const SignalStop &stop)
{
    RecordingReader reader(fileHolding(data));
    const RecordingReader::Start start = reader.readHeader(stop);
    const bool header = RecordFormat::isHeader(data.substr(0, data.find('\n')));
    expect((start == RecordingReader::Start::empty) == data.empty()
               && (start == RecordingReader::Start::header) == (!data.empty() && header),
           stop);
    if (start != RecordingReader::Start::header)
        return;

    std::ostringstream messages;
    const std::vector<RecordFormat::Line> readings = readAll(reader, stop, messages);
    const std::string said = messages.str();
    expect(readings.size() + std::size_t(std::count(said.begin(), said.end(), '\n')) == lineCount(data) - 1, stop);

    std::ostringstream again;
    expect(reader.rewind(stop), stop);
    const std::vector<RecordFormat::Line> second = readAll(reader, stop, again);
    expect(std::equal(second.begin(), second.end(), readings.begin(), readings.end(), same) && again.str() == said,
           stop);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    bool stopped = false;
    {
        // Per input, so that libFuzzer's own handlers are back in between.
        const SignalStop stop;
        checkRecording(std::string_view(reinterpret_cast<const char *>(bytes), size), stop);
        stopped = stop.requested();
    }
    // The SIGINT or SIGTERM that stopped the reading was libFuzzer's, now that its
    // handler is back.
    if (stopped)
        std::raise(SIGTERM);
    return 0;
}
