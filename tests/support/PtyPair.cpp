#include "tests/support/PtyPair.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    // Non-blocking, so that a writer whose reader went away is never stuck in write().
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
        throw std::runtime_error("no pseudo-terminal");
    char name[128];
    if (ptsname_r(m_master, name, sizeof name) != 0)
        throw std::runtime_error("no pseudo-terminal name");
    m_slavePath = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair()
{
    closeMaster();
}

void PtyPair::write(std::string_view bytes)
{
    while (!bytes.empty()) {
        const std::size_t written = tryWrite(bytes, -1);
        ASSERT_GT(written, 0u) << "writing to the pseudo-terminal failed, errno " << errno;
        bytes.remove_prefix(written);
    }
}

std::size_t PtyPair::tryWrite(std::string_view bytes, int waitMs)
{
    pollfd room{m_master, POLLOUT, 0};
    for (;;) {
        const ssize_t written = ::write(m_master, bytes.data(), bytes.size());
        if (written >= 0)
            return std::size_t(written);
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN)
            return 0;
        int ready;
        do {
            ready = ::poll(&room, 1, waitMs);
        } while (ready < 0 && errno == EINTR);
        // With the slave side closed the master reports a hang-up at once, every time,
        // and the queue never drains: give up instead of spinning.
        if (ready <= 0 || (room.revents & (POLLHUP | POLLERR)))
            return 0;
    }
}

void PtyPair::closeMaster()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}
