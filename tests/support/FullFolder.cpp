#include "tests/support/FullFolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/mount.h>
#include <sys/statvfs.h>

FullFolder::FullFolder()
{
    const QByteArray root = QFile::encodeName(m_root.path());
    m_mounted = mount("ondrix-test", root.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=2m") == 0;
    // The filler of fill() lies beside the folder, not in it.
    QDir(m_root.path()).mkdir(QStringLiteral("pictures"));
    m_path = m_root.filePath(QStringLiteral("pictures"));
}

FullFolder::~FullFolder()
{
    if (m_limited) {
        setrlimit(RLIMIT_FSIZE, &m_savedLimit);
        std::signal(SIGXFSZ, SIG_DFL);
    }
    if (m_mounted)
        umount2(QFile::encodeName(m_root.path()).constData(), MNT_DETACH);
}

void FullFolder::fill(qint64 roomLeft)
{
    if (!m_mounted) {
        // A write past the limit then fails with EFBIG instead of raising SIGXFSZ.
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_savedLimit);
        const rlimit limit{rlim_t(roomLeft), m_savedLimit.rlim_max};
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
        m_limited = true;
        return;
    }
    struct statvfs disc{};
    ASSERT_EQ(statvfs(QFile::encodeName(m_path).constData(), &disc), 0);
    const qint64 free = qint64(disc.f_bavail) * qint64(disc.f_frsize);
    QFile filler(m_root.filePath(QStringLiteral("filler")));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    ASSERT_EQ(filler.write(QByteArray(qMax<qint64>(free - roomLeft, 0), 'f')), qMax<qint64>(free - roomLeft, 0));
    ASSERT_TRUE(filler.flush());
}
