#include "serial/UucpLock.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int lockFileMode = 0644;
constexpr time_t freshLockSeconds = 10;

// The process id in a lock file: ten characters and a line end, possibly padded with
// spaces. 0 when the file holds no such number.
pid_t readOwner(const QByteArray &lockPath)
{
    const int fd = ::open(lockPath.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char text[32] = {};
    const ssize_t n = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (n <= 0)
        return 0;
    char *end = nullptr;
    const long pid = std::strtol(text, &end, 10);
    return end != text && pid > 0 ? pid_t(pid) : 0;
}

bool isAlive(pid_t pid)
{
    // EPERM: it exists but belongs to another user.
    return kill(pid, 0) == 0 || errno == EPERM;
}

bool isFolder(const QByteArray &path)
{
    struct stat info{};
    return stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

UucpLock::UucpLock(QList<QByteArray> folders) : m_folders(std::move(folders)) {}

UucpLock::~UucpLock()
{
    release();
}

QByteArray UucpLock::fileName(const QByteArray &devicePath)
{
    char *real = realpath(devicePath.constData(), nullptr);
    const QByteArray resolved = real ? QByteArray(real) : devicePath;
    std::free(real);
    return "LCK.." + resolved.mid(resolved.lastIndexOf('/') + 1);
}

UucpLock::Outcome UucpLock::acquire(const QByteArray &devicePath)
{
    release();
    const QByteArray name = fileName(devicePath);
    // A second round only when another program made its lock between our look and ours.
    for (int round = 0; round < 2; ++round) {
        QByteArray own;
        for (const QByteArray &folder : m_folders) {
            if (!isFolder(folder))
                continue;
            const QByteArray lockPath = folder + '/' + name;
            if (heldByLiveProcess(lockPath))
                return Outcome::HeldElsewhere;
            if (own.isEmpty())
                own = lockPath;
        }
        if (own.isEmpty())
            return Outcome::NotPossible;
        if (createOwn(own)) {
            m_path = own;
            return Outcome::Taken;
        }
        if (errno != EEXIST)
            return Outcome::NotPossible;
    }
    return Outcome::HeldElsewhere;
}

bool UucpLock::heldByLiveProcess(const QByteArray &lockPath)
{
    struct stat info{};
    if (lstat(lockPath.constData(), &info) != 0)
        return false;
    const pid_t owner = readOwner(lockPath);
    // Its maker may not have written its id yet.
    if (owner == 0 && time(nullptr) - info.st_mtime < freshLockSeconds)
        return true;
    // Our own id is a leftover of an earlier run: this process forgets no lock it holds.
    if (owner > 0 && owner != getpid() && isAlive(owner))
        return true;
    unlink(lockPath.constData());
    return false;
}

bool UucpLock::createOwn(const QByteArray &lockPath)
{
    const int fd = ::open(lockPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, lockFileMode);
    if (fd < 0)
        return false;
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%10d\n", int(getpid()));
    const bool written = ::write(fd, text, std::size_t(length)) == length;
    ::close(fd);
    if (!written) {
        unlink(lockPath.constData());
        errno = EIO;
    }
    return written;
}

void UucpLock::release()
{
    if (m_path.isEmpty())
        return;
    unlink(m_path.constData());
    m_path.clear();
}
