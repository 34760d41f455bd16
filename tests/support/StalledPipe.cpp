#include "tests/support/StalledPipe.h"

#include <QFile>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

StalledPipe::StalledPipe(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    if (::mkfifo(name.constData(), 0600) == 0)
        m_reader = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

StalledPipe::~StalledPipe()
{
    if (m_reader >= 0)
        ::close(m_reader);
}

int StalledPipe::capacity() const
{
    return ::fcntl(m_reader, F_GETPIPE_SZ);
}

bool StalledPipe::isEmpty() const
{
    int held = 0;
    return ::ioctl(m_reader, FIONREAD, &held) != 0 || held == 0;
}

QByteArray StalledPipe::drain() const
{
    QByteArray all;
    char chunk[4096];
    for (ssize_t n; (n = ::read(m_reader, chunk, sizeof chunk)) > 0;)
        all.append(chunk, n);
    return all;
}
