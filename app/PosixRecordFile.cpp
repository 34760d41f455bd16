#include "app/PosixRecordFile.h"

#include "runtime/Exception.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <system_error>
#include <unistd.h>

namespace {

// strerror is not safe on the writer thread; the error category's message is.
QString reason(int error)
{
    return QString::fromStdString(std::generic_category().message(error));
}

int connectSocket(const QByteArray &name)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (std::size_t(name.size()) >= sizeof address.sun_path) {
        errno = ENAMETOOLONG;
        return -1;
    }
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    // Non-blocking, so that a listener whose queue is full refuses instead of waiting.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

} // namespace

std::unique_ptr<RecordFile> PosixRecordFile::open(const QString &path)
{
    const int fd = path == QLatin1String("-") ? openStandardOutput() : openPath(QFile::encodeName(path));
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        throw EFCreateError(reason(error));
    }
    const Kind kind = S_ISREG(status.st_mode) ? Kind::Disc : S_ISSOCK(status.st_mode) ? Kind::Socket : Kind::Stream;
    return std::unique_ptr<RecordFile>(new PosixRecordFile(fd, kind, status.st_size == 0));
}

int PosixRecordFile::openPath(const QByteArray &name)
{
    // Non-blocking, so that a FIFO without a reader or a terminal never hangs the window.
    const int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    struct stat status {};
    if (fd < 0)
        return errno == ENXIO && ::stat(name.constData(), &status) == 0 && S_ISSOCK(status.st_mode)
                   ? connectSocket(name)
                   : -1;
    // A file on a disc is written as before, whatever the file system makes of the flag.
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode))
        (void)::fcntl(fd, F_SETFL, O_APPEND);
    return fd;
}

int PosixRecordFile::openStandardOutput()
{
    struct stat status {};
    if (::fstat(STDOUT_FILENO, &status) != 0)
        return -1;
    if (S_ISREG(status.st_mode) || S_ISSOCK(status.st_mode))
        return ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    // A pipe or terminal is opened anew, so that the non-blocking mode stays ours: on the
    // description we share, it would reach the shell that started us.
    return ::open("/proc/self/fd/1", O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
}

PosixRecordFile::~PosixRecordFile()
{
    ::close(m_fd);
}

std::size_t PosixRecordFile::append(std::string_view bytes)
{
    return m_kind == Kind::Disc ? appendAll(bytes) : appendWhatFits(bytes);
}

std::size_t PosixRecordFile::appendAll(std::string_view bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            cutBack(written);
            throw EWriteError(reason(error));
        }
        written += std::size_t(n);
    }
    return written;
}

std::size_t PosixRecordFile::appendWhatFits(std::string_view bytes)
{
    for (;;) {
        const ssize_t n = m_kind == Kind::Socket
                              ? ::send(m_fd, bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL)
                              : ::write(m_fd, bytes.data(), bytes.size());
        if (n > 0)
            return std::size_t(n);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return 0;
        throw EWriteError(reason(n < 0 ? errno : EIO));
    }
}

void PosixRecordFile::cutBack(std::size_t written) const
{
    // A full disc takes part of a buffer; a cut-off last line would read as a wrong
    // value ("51" of "512"), so the part goes again.
    struct stat status {};
    if (written > 0 && ::fstat(m_fd, &status) == 0 && status.st_size >= off_t(written)) {
        // Best effort: the write has failed already and is reported as such.
        [[maybe_unused]] const int cut = ::ftruncate(m_fd, status.st_size - off_t(written));
    }
}

void PosixRecordFile::sync()
{
    // A pipe or a terminal has nothing to put on a disc.
    if (m_kind == Kind::Disc && ::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS)
        throw EWriteError(reason(errno));
}
