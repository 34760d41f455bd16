#pragma once

#include "DirectoryWatch.h"
#include "FileDescriptor.h"
#include "app/RecordPattern.h"

#include <ctime>
#include <iosfwd>
#include <string>

class SignalStop;

// A recording that is still being written, at the end of what it holds so far: waits
// until it grows, is cut short (then it is read again from its start), or, for a pattern
// with fields, the recorder has gone on to the next file the pattern names, in the same
// folder. No polling: the wait is on the folder's changes.
class RecordingFollower
{
public:
    // The recording is the pattern's file for now; messages gets a line for each cut.
    RecordingFollower(RecordPattern pattern, const std::string &path, std::ostream &messages);

    enum class Turn {
        grown,    // more to read where the reading stopped
        restarted, // the file was cut: read from its start, header first
        switched, // input is the next file now, its header first
        wouldWait, // nothing of the above yet, and no wait was wanted
        stopped,
    };

    // input has just read as ended; name is its name, and both change on a switch. The
    // next file is the first the pattern names after lastTime, the time of the last
    // reading read, that holds anything: a replay that lags behind skips no file.
    Turn atEnd(FileDescriptor &input, std::string &name, std::time_t lastTime, const SignalStop &stop, bool mayWait);

    // How many times atEnd had to wait for a change.
    std::uint64_t waits() const { return m_waits; }

private:
    bool moveToNext(FileDescriptor &input, std::string &name, std::time_t lastTime, long long readUpTo);

    RecordPattern m_pattern;
    DirectoryWatch m_watch;
    std::ostream &m_messages;
    std::uint64_t m_waits = 0;
};
