#include "DirectoryWatch.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <sys/inotify.h>

DirectoryWatch::DirectoryWatch(const std::string &folder) : m_inotify(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
    constexpr std::uint32_t changes = IN_MODIFY | IN_CREATE | IN_MOVED_TO | IN_CLOSE_WRITE;
    if (!m_inotify.valid() || ::inotify_add_watch(m_inotify.get(), folder.c_str(), changes) < 0)
        throw std::runtime_error("cannot watch " + folder + ": " + std::strerror(errno));
}

void DirectoryWatch::drain()
{
    alignas(inotify_event) char events[4096];
    while (::read(m_inotify.get(), events, sizeof events) > 0) {
    }
}
