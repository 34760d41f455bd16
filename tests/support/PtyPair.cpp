#include "tests/support/PtyPair.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <stdlib.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
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
        const ssize_t written = ::write(m_master, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        ASSERT_GT(written, 0) << "writing to the pseudo-terminal failed, errno " << errno;
        bytes.remove_prefix(std::size_t(written));
    }
}

void PtyPair::closeMaster()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}
