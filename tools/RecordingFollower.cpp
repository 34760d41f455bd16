#include "RecordingFollower.h"

#include "SignalStop.h"

#include <algorithm>
#include <ctime>
#include <fcntl.h>
#include <ostream>
#include <sys/stat.h>

namespace {

std::string folderOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

long long sizeOf(int fd)
{
    struct stat status {};
    return ::fstat(fd, &status) == 0 ? static_cast<long long>(status.st_size) : -1;
}

} // namespace

RecordingFollower::RecordingFollower(RecordPattern pattern, const std::string &path, std::ostream &messages)
    : m_pattern(std::move(pattern)), m_watch(folderOf(path)), m_messages(messages)
{
}

RecordingFollower::Turn RecordingFollower::atEnd(FileDescriptor &input, std::string &name, std::time_t lastTime,
                                                 const SignalStop &stop, bool mayWait)
{
    for (;;) {
        // The watch was set before the first read: a change after the looks below is
        // still waiting in it, so the wait cannot miss it.
        const long long readUpTo = ::lseek(input.get(), 0, SEEK_CUR);
        const long long size = sizeOf(input.get());
        if (size < readUpTo) {
            ::lseek(input.get(), 0, SEEK_SET);
            m_messages << "ondrix-board: " << name << " was cut short: replaying it from its start" << std::endl;
            return Turn::restarted;
        }
        if (size > readUpTo)
            return Turn::grown;
        if (moveToNext(input, name, lastTime, readUpTo))
            return Turn::switched;
        if (!mayWait)
            return Turn::wouldWait;
        ++m_waits;
        if (!stop.waitReadable(m_watch.descriptor()))
            return Turn::stopped;
        m_watch.drain();
    }
}

// The recorder writes the old file's last lines before the new file's header, so a next
// file that holds anything means the old one is complete. A day's lag is looked through
// second by second at most.
bool RecordingFollower::moveToNext(FileDescriptor &input, std::string &name, std::time_t lastTime,
                                   long long readUpTo)
{
    if (!m_pattern.hasFields())
        return false;
    constexpr std::time_t longestLook = std::time_t{24} * 3600;
    const std::time_t now = std::time(nullptr);
    std::string looked = name;
    for (std::time_t time = std::max(lastTime + 1, now - longestLook); time <= now; ++time) {
        std::string next = m_pattern.nameAt(time);
        if (next == looked)
            continue;
        looked = next;
        FileDescriptor opened(::open(next.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC));
        if (!opened.valid() || sizeOf(opened.get()) <= 0)
            continue;
        if (sizeOf(input.get()) != readUpTo)
            return false;
        input = std::move(opened);
        name = std::move(next);
        m_messages << "ondrix-board: going on with " << name << std::endl;
        return true;
    }
    return false;
}
