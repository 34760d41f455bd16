#include "app/PosixRecordFile.h"

#include "runtime/Exception.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

// strerror is not safe on the writer thread; the error category's message is.
QString reason(int error)
{
    return QString::fromStdString(std::generic_category().message(error));
}

} // namespace

std::unique_ptr<RecordFile> PosixRecordFile::open(const QString &path)
{
    // O_NONBLOCK only for the open itself: a named pipe without a reader must not
    // hang the window.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0)
        throw EFCreateError(reason(errno));
    struct stat status {};
    if (::fcntl(fd, F_SETFL, O_APPEND) != 0 || ::fstat(fd, &status) != 0) {
        const int error = errno;
        ::close(fd);
        throw EFCreateError(reason(error));
    }
    return std::unique_ptr<RecordFile>(new PosixRecordFile(fd, status.st_size == 0));
}

PosixRecordFile::~PosixRecordFile()
{
    ::close(m_fd);
}

void PosixRecordFile::append(std::string_view bytes)
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
}

void PosixRecordFile::cutBack(std::size_t written) const
{
    // A full disc takes part of a buffer; a cut-off last line would read as a wrong
    // value ("51" of "512"), so the part goes again.
    struct stat status {};
    if (written > 0 && ::fstat(m_fd, &status) == 0 && status.st_size >= off_t(written))
        (void)::ftruncate(m_fd, status.st_size - off_t(written));
}

void PosixRecordFile::sync()
{
    // A pipe or a character device has nothing to put on a disc.
    if (::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS)
        throw EWriteError(reason(errno));
}
