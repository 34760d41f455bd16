#pragma once

#include "FileDescriptor.h"
#include "RecordingFollower.h"
#include "app/RecordFormat.h"

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class SignalStop;

// A recording that Ondrix wrote, read line by line through a buffer of fixed size, so that
// memory stays flat and the first reading is there at once however long the file is.
// Lines that are not readings are skipped with one message each, naming the line.
class RecordingReader
{
public:
    // Opens path, or takes standard input for "-"; throws std::runtime_error when the
    // file cannot be opened.
    explicit RecordingReader(const std::string &path);

    // From now on the end of the file is waited past, as follower says; before the
    // first read, so that no change is missed.
    void follow(std::unique_ptr<RecordingFollower> follower) { m_follower = std::move(follower); }
    // How many times the reader waited for the file to grow: a pace taken from the
    // recording starts afresh after a wait.
    std::uint64_t waits() const { return m_follower ? m_follower->waits() : 0; }

    // The name messages use for it.
    const std::string &name() const { return m_name; }

    enum class Start { header, empty, notARecording };

    // Reads the first line. Waits for input no longer than until a stop.
    Start readHeader(const SignalStop &stop);

    enum class Wait { yes, no };

    // The next reading, or nothing at the end of the file or on a stop. Each line skipped
    // on the way gets one line on messages. A followed file has no end: it is waited past,
    // unless wait is no; then nothing comes back where the wait would be.
    std::optional<RecordFormat::Line> next(const SignalStop &stop, std::ostream &messages, Wait wait = Wait::yes);

    // Back to the start, for another pass; false when the input cannot go back.
    bool rewind(const SignalStop &stop);

private:
    bool isHeader(std::string_view line) const;
    bool nextLine(const SignalStop &stop, std::string_view &line);
    bool fill(const SignalStop &stop);
    bool followPastEnd(const SignalStop &stop);

    std::string m_name;
    FileDescriptor m_input;
    std::unique_ptr<RecordingFollower> m_follower;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0; // the unread part of m_buffer is [m_begin, m_end)
    std::size_t m_end = 0;
    bool m_atEnd = false;
    bool m_skippingLongLine = false;
    bool m_headerDue = false; // a followed file started again, or the next one began
    Wait m_wait = Wait::yes;  // of the next() under way
    std::int64_t m_lineNumber = 0;
    std::optional<std::int64_t> m_lastTime;
};
