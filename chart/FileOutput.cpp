#include "chart/FileOutput.h"

#include "runtime/Exception.h"
#include "runtime/Translation.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <initializer_list>
#include <fcntl.h>
#include <system_error>
#include <utility>
#include <unistd.h>

namespace {

QString systemText(int error)
{
    return QString::fromStdString(std::error_code(error, std::generic_category()).message());
}

// Puts each argument in place of the next "%s" of the text.
QString substituted(QString text, std::initializer_list<QString> arguments)
{
    qsizetype from = 0;
    for (const QString &argument : arguments) {
        const qsizetype at = text.indexOf(QLatin1String("%s"), from);
        if (at < 0)
            break;
        text.replace(at, 2, argument);
        from = at + argument.size();
    }
    return text;
}

[[noreturn]] void raiseWriteError()
{
    throw EWriteError(Translation::frameworkText("Stream write error"));
}

[[noreturn]] void raiseCreateError(const QString &fileName, int error)
{
    throw EFCreateError(substituted(Translation::frameworkText("Cannot create file \"%s\". %s"),
                                    {QFileInfo(fileName).absoluteFilePath(), systemText(error)}));
}

// A name beside the target that nobody else uses: hidden, and marked as unfinished.
QByteArray temporaryName(const QByteArray &target, std::uint32_t draw)
{
    const qsizetype slash = target.lastIndexOf('/');
    return target.left(slash + 1) + '.' + target.mid(slash + 1) + '.' + QByteArray::number(draw, 16) + ".part";
}

// Makes the rename durable too; a file system that cannot sync a folder loses nothing
// it did not promise, so a failure here is no error.
void syncFolderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

FileOutput::FileOutput(const QString &fileName) : m_fileName(fileName)
{
    const QByteArray target = QFile::encodeName(fileName);
    // Mode 0666 less the umask, as a file created under its own name would get.
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_temporary = temporaryName(target, QRandomGenerator::global()->generate());
        m_fd = ::open(m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0)
        raiseCreateError(fileName, errno);
}

FileOutput::~FileOutput()
{
    if (m_fd < 0)
        return;
    ::close(m_fd);
    ::unlink(m_temporary.constData());
}

void FileOutput::write(const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(m_fd, data, std::size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            raiseWriteError();
        data += written;
        left -= written;
    }
}

void FileOutput::commit()
{
    // A picture reported as saved must survive a power cut: on the disc before its name.
    if (::fsync(m_fd) != 0)
        raiseWriteError();
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0 && errno != EINTR) {
        ::unlink(m_temporary.constData());
        raiseWriteError();
    }
    const QByteArray target = QFile::encodeName(m_fileName);
    if (::rename(m_temporary.constData(), target.constData()) != 0) {
        const int error = errno;
        ::unlink(m_temporary.constData());
        raiseCreateError(m_fileName, error);
    }
    syncFolderOf(target);
}
