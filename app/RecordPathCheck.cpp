#include "app/RecordPathCheck.h"
#include "runtime/Translation.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

QString reason(int error)
{
    return QString::fromStdString(std::generic_category().message(error));
}

QString appendProblem(const QByteArray &file, const struct stat &status)
{
    if (S_ISDIR(status.st_mode))
        return reason(EISDIR);
    if (!S_ISREG(status.st_mode) && !S_ISFIFO(status.st_mode) && !S_ISSOCK(status.st_mode)
        && !S_ISCHR(status.st_mode))
        return Translation::appText("not a file to append to");
    // access() answers for the real user, who is the one running Ondrix; EROFS also
    // for root.
    if (::access(file.constData(), W_OK) != 0)
        return reason(errno);
    return {};
}

QString folderProblem(const QString &folder)
{
    const QByteArray name = QFile::encodeName(folder);
    struct stat status {};
    int error = 0;
    if (::stat(name.constData(), &status) != 0)
        error = errno; // NOLINT(bugprone-branch-clone): the errno of whichever call failed
    else if (!S_ISDIR(status.st_mode))
        error = ENOTDIR;
    else if (::access(name.constData(), W_OK | X_OK) != 0)
        error = errno;
    return error == 0 ? QString() : Translation::appText("folder %1: %2").arg(folder, reason(error));
}

} // namespace

QString RecordPathCheck::problem(const QString &path)
{
    if (path == u'-')
        return {};
    if (path.isEmpty())
        return Translation::appText("no file name");
    const QByteArray file = QFile::encodeName(path);
    struct stat status {};
    if (::stat(file.constData(), &status) == 0)
        return appendProblem(file, status);
    if (errno != ENOENT)
        return reason(errno);
    return folderProblem(QFileInfo(path).absolutePath());
}
