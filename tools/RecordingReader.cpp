#include "RecordingReader.h"

#include "SignalStop.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <ostream>
#include <stdexcept>
#include <utility>
#include <unistd.h>

namespace {

// Far more than the longest line Ondrix writes; a longer line is no reading.
constexpr std::size_t bufferSize = std::size_t{64} * 1024;

int openInput(const std::string &path)
{
    // Our own descriptor for standard input too, so that both close the same way.
    const int fd = path == "-" ? ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0)
                               : ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error(path + ": " + std::strerror(errno));
    return fd;
}

} // namespace

RecordingReader::RecordingReader(const std::string &path)
    : m_name(path == "-" ? "standard input" : path), m_input(openInput(path)), m_buffer(bufferSize)
{
}

RecordingReader::Start RecordingReader::readHeader(const SignalStop &stop)
{
    std::string_view line;
    if (!nextLine(stop, line))
        return Start::empty;
    return isHeader(line) ? Start::header : Start::notARecording;
}

std::optional<RecordFormat::Line> RecordingReader::next(const SignalStop &stop, std::ostream &messages, Wait wait)
{
    m_wait = wait;
    std::string_view line;
    while (nextLine(stop, line)) {
        if (std::exchange(m_headerDue, false) && isHeader(line))
            continue;
        const RecordFormat::Line reading = RecordFormat::parseLine(line);
        std::string_view problem = RecordFormat::problem(reading.status);
        if (m_skippingLongLine)
            problem = "longer than any reading";
        else if (problem.empty() && m_lastTime && reading.microseconds < *m_lastTime)
            problem = "the time goes back";
        if (problem.empty()) {
            m_lastTime = reading.microseconds;
            return reading;
        }
        messages << "ondrix-board: " << m_name << ':' << m_lineNumber << ": " << problem << "; skipped" << std::endl;
    }
    return std::nullopt;
}

bool RecordingReader::rewind(const SignalStop &stop)
{
    if (::lseek(m_input.get(), 0, SEEK_SET) != 0)
        return false;
    m_begin = m_end = 0;
    m_atEnd = m_skippingLongLine = false;
    m_lineNumber = 0;
    m_lastTime.reset();
    return readHeader(stop) == Start::header;
}

// Of a line longer than the buffer only the end is left, which may look like anything.
bool RecordingReader::isHeader(std::string_view line) const
{
    return !m_skippingLongLine && RecordFormat::isHeader(line);
}

// The next line without its line end. Of a line that does not fit the buffer only the
// end is kept, with m_skippingLongLine set: what came before is gone.
bool RecordingReader::nextLine(const SignalStop &stop, std::string_view &line)
{
    for (bool overlong = false;;) {
        const char *const begin = m_buffer.data() + m_begin;
        const char *const end = m_buffer.data() + m_end;
        const char *const newline = std::find(begin, end, '\n');
        if (newline != end || (m_atEnd && (begin != end || overlong))) {
            line = std::string_view(begin, static_cast<std::size_t>(newline - begin));
            m_begin = static_cast<std::size_t>(newline - m_buffer.data()) + (newline != end);
            ++m_lineNumber;
            m_skippingLongLine = overlong;
            return true;
        }
        if (m_atEnd)
            return false;
        if (m_begin == 0 && m_end == m_buffer.size()) {
            overlong = true;
            m_end = 0;
        } else {
            std::memmove(m_buffer.data(), begin, m_end - m_begin);
            m_end -= m_begin;
            m_begin = 0;
        }
        if (!fill(stop))
            return false;
    }
}

// Reads what the input has after the unread part; false on a stop.
bool RecordingReader::fill(const SignalStop &stop)
{
    // Waiting in the stop's own wait lets SIGINT end a replay from a pipe that is quiet.
    if (!stop.waitReadable(m_input.get()))
        return false;
    ssize_t got = -1;
    do {
        got = ::read(m_input.get(), m_buffer.data() + m_end, m_buffer.size() - m_end);
    } while (got < 0 && errno == EINTR);
    if (got < 0)
        throw std::runtime_error(m_name + ": " + std::strerror(errno));
    if (got == 0 && m_follower)
        return followPastEnd(stop);
    m_atEnd = got == 0;
    m_end += static_cast<std::size_t>(got);
    return true;
}

// A followed file never ends: a line still without its line end waits for the rest.
bool RecordingReader::followPastEnd(const SignalStop &stop)
{
    // Recorded times are seconds since the epoch; before the first reading, the look for
    // a next file starts now.
    const std::time_t lastTime = m_lastTime ? std::time_t(*m_lastTime / 1000000) : std::time(nullptr);
    switch (m_follower->atEnd(m_input, m_name, lastTime, stop, m_wait == Wait::yes)) {
    case RecordingFollower::Turn::grown:
        return true;
    case RecordingFollower::Turn::restarted:
    case RecordingFollower::Turn::switched:
        m_begin = m_end = 0;
        m_lineNumber = 0;
        m_lastTime.reset();
        m_headerDue = true;
        return true;
    case RecordingFollower::Turn::wouldWait:
    case RecordingFollower::Turn::stopped:
        break;
    }
    return false;
}
