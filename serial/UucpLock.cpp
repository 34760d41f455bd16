#include "serial/UucpLock.h"

#include "serial/DeviceHolders.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int lockFileMode = 0644;

// The highest process id the kernel hands out; its own ceiling when that cannot be read.
std::int64_t highestPid()
{
    static const std::int64_t highest = [] {
        std::int64_t value = 4194304;
        const int fd = ::open("/proc/sys/kernel/pid_max", O_RDONLY | O_CLOEXEC);
        char text[24] = {};
        if (fd >= 0 && ::read(fd, text, sizeof text - 1) > 0)
            std::from_chars(text, text + sizeof text, value);
        if (fd >= 0)
            ::close(fd);
        return value;
    }();
    return highest;
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

// Text with spaces around the digits is taken too; a binary integer of four bytes is what
// some programs write.
pid_t UucpLock::ownerIn(std::string_view content)
{
    std::int64_t number = 0;
    const std::size_t first = std::min(content.find_first_not_of(' '), content.size());
    const std::size_t end = std::min(content.find_first_not_of("0123456789", first), content.size());
    if (end > first && end - first <= 10 && content.find_first_not_of(" \n", end) == std::string_view::npos) {
        std::from_chars(content.data() + first, content.data() + end, number);
    } else if (content.size() == sizeof(std::int32_t)) {
        std::int32_t binary = 0;
        std::memcpy(&binary, content.data(), sizeof binary);
        number = binary;
    }
    return number >= 1 && number <= highestPid() ? pid_t(number) : 0;
}

// What lies at a lock file's path.
struct UucpLock::Found
{
    enum class Kind { Nothing, Owner, NotALock } kind = Kind::Nothing;
    pid_t owner = 0;
    dev_t device = 0;
    ino_t inode = 0;
    QByteArray what; // for NotALock: what it is instead

    static Found at(const QByteArray &lockPath);

    bool sameAs(const Found &other) const
    {
        return kind == other.kind && owner == other.owner && device == other.device && inode == other.inode;
    }

    QByteArray description() const
    {
        if (kind == Kind::Owner)
            return QByteArray::fromStdString(DeviceHolders::describe(owner));
        return kind == Kind::NotALock ? what : QByteArrayLiteral("changed while it was looked at");
    }
};

UucpLock::Found UucpLock::Found::at(const QByteArray &lockPath)
{
    Found found;
    // Non-blocking, so that a FIFO put there cannot stop us in open().
    const int fd = ::open(lockPath.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) {
            found.kind = Kind::NotALock;
            found.what = errno == ELOOP ? QByteArrayLiteral("a symbolic link") : QByteArray(std::strerror(errno));
        }
        return found;
    }
    struct stat info{};
    char content[32];
    const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const ssize_t size = regular ? ::read(fd, content, sizeof content) : -1;
    ::close(fd);
    found.device = info.st_dev;
    found.inode = info.st_ino;
    // A full buffer is longer than any lock: not one.
    found.owner = size >= 0 && size < ssize_t(sizeof content) ? ownerIn(std::string_view(content, std::size_t(size))) : 0;
    found.kind = found.owner > 0 ? Kind::Owner : Kind::NotALock;
    found.what = regular ? QByteArrayLiteral("no process id in it") : QByteArrayLiteral("not a regular file");
    return found;
}

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
    QByteArray name = resolved.startsWith("/dev/") ? resolved.mid(5) : resolved.mid(resolved.lastIndexOf('/') + 1);
    return "LCK.." + name.replace('/', '_');
}

UucpLock::Outcome UucpLock::acquire(const QByteArray &devicePath)
{
    release();
    m_refusal.clear();
    const QByteArray name = fileName(devicePath);
    QByteArray own;
    // A second round only when another program made its lock between our look and ours.
    for (int round = 0; round < 2; ++round) {
        own.clear();
        for (const QByteArray &folder : m_folders) {
            if (!isFolder(folder))
                continue;
            const QByteArray lockPath = folder + '/' + name;
            if (heldElsewhere(lockPath))
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
    m_refusal = own + ", made by another program just now";
    return Outcome::HeldElsewhere;
}

bool UucpLock::heldElsewhere(const QByteArray &lockPath)
{
    const Found found = Found::at(lockPath);
    if (found.kind == Found::Kind::Nothing)
        return false;
    // Our own id is a leftover of an earlier run: this process forgets no lock it holds.
    const bool stale = found.kind == Found::Kind::Owner && (found.owner == getpid() || !isAlive(found.owner));
    if (stale && removeUnchanged(lockPath, found))
        return false;
    m_refusal = lockPath + ", " + (stale ? Found::at(lockPath) : found).description();
    return true;
}

void UucpLock::beforeRemoval(const QByteArray &) {}

// Another program may replace the lock between our look at it and its removal: it is
// moved aside under a private name first, where nobody else puts anything, and deleted
// only when it is still the file looked at; anything else goes back.
bool UucpLock::removeUnchanged(const QByteArray &lockPath, const Found &looked)
{
    beforeRemoval(lockPath);
    const qsizetype slash = lockPath.lastIndexOf('/');
    const QByteArray aside =
        lockPath.first(slash + 1) + ".ondrix-" + QByteArray::number(getpid()) + '-' + lockPath.mid(slash + 1);
    if (renameat2(AT_FDCWD, lockPath.constData(), AT_FDCWD, aside.constData(), RENAME_NOREPLACE) != 0)
        return errno == ENOENT;
    if (Found::at(aside).sameAs(looked)) {
        unlink(aside.constData());
        return true;
    }
    // Should a third lock have come meanwhile, this one stays aside rather than replace it.
    renameat2(AT_FDCWD, aside.constData(), AT_FDCWD, lockPath.constData(), RENAME_NOREPLACE);
    return false;
}

bool UucpLock::createOwn(const QByteArray &lockPath)
{
    const int fd = ::open(lockPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, lockFileMode);
    if (fd < 0)
        return false;
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%10d\n", int(getpid()));
    struct stat made{};
    const bool written = ::write(fd, text, std::size_t(length)) == length && fstat(fd, &made) == 0;
    ::close(fd);
    if (!written) {
        unlink(lockPath.constData());
        errno = EIO;
        return false;
    }
    m_device = made.st_dev;
    m_inode = made.st_ino;
    return true;
}

void UucpLock::release()
{
    if (m_path.isEmpty())
        return;
    Found ours;
    ours.kind = Found::Kind::Owner;
    ours.owner = getpid();
    ours.device = m_device;
    ours.inode = m_inode;
    removeUnchanged(m_path, ours);
    m_path.clear();
}
