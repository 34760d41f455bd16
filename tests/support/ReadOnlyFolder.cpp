#include "tests/support/ReadOnlyFolder.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

ReadOnlyFolder::ReadOnlyFolder()
{
    const QByteArray path = QFile::encodeName(m_folder.path());
    if (geteuid() != 0) {
        if (::chmod(path.constData(), 0555) != 0)
            m_error = QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    if (::mount("ondrix-test", path.constData(), "tmpfs", MS_RDONLY | MS_NOSUID | MS_NODEV, "size=64k") != 0) {
        m_error = QStringLiteral("mounting a read-only tmpfs failed: ") + QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    m_mounted = true;
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    const QByteArray path = QFile::encodeName(m_folder.path());
    if (m_mounted)
        ::umount(path.constData());
    else
        ::chmod(path.constData(), 0755);
}
