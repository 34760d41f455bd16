#include "chart/FileOutput.h"

#include "runtime/Exception.h"
#include "runtime/Translation.h"

#include <QFileInfo>
#include <cerrno>
#include <initializer_list>
#include <fcntl.h>
#include <system_error>
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
    throw EWriteError(Translation::translate(Translation::frameworkDomain, "Stream write error"));
}

} // namespace

FileOutput::FileOutput(const QString &fileName)
{
    const QByteArray path = QFile::encodeName(fileName);
    m_fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (m_fd >= 0)
        return;
    const int error = errno;
    throw EFCreateError(substituted(Translation::translate(Translation::frameworkDomain, "Cannot create file \"%s\". %s"),
                                    {QFileInfo(fileName).absoluteFilePath(), systemText(error)}));
}

FileOutput::~FileOutput()
{
    if (m_fd >= 0)
        ::close(m_fd);
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

void FileOutput::close()
{
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR)
        raiseWriteError();
}
