// A port that another program has open or locked is refused; only character devices
// are opened; our own UUCP lock lives exactly as long as the opening.

#include "serial/UucpLock.h"
#include "tests/serial/ComPortFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// Another process that has the device open until released, as `cat /dev/pts/N` would.
class OtherHolder
{
public:
    enum Kind { OpensIt, LocksIt }; // LocksIt: flock as well, as some terminal programs do

    explicit OtherHolder(const QString &device, Kind kind = OpensIt)
    {
        const QByteArray path = QFile::encodeName(device);
        int ready[2];
        int hold[2];
        if (pipe2(ready, O_CLOEXEC) != 0 || pipe2(hold, O_CLOEXEC) != 0)
            throw std::runtime_error("no pipe");
        m_child = fork();
        if (m_child == 0) {
            // Only async-signal-safe calls in the child of a threaded process. Its copy
            // of the release end must go, or the release would never reach it.
            ::close(hold[1]);
            const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY);
            char answer = fd >= 0 && (kind == OpensIt || flock(fd, LOCK_EX | LOCK_NB) == 0) ? 'y' : 'n';
            [[maybe_unused]] ssize_t n = ::write(ready[1], &answer, 1);
            n = ::read(hold[0], &answer, 1);
            _exit(0);
        }
        ::close(ready[1]);
        ::close(hold[0]);
        m_release = hold[1];
        char answer = 'n';
        m_holding = ::read(ready[0], &answer, 1) == 1 && answer == 'y';
        ::close(ready[0]);
    }

    ~OtherHolder() { release(); }

    bool holding() const { return m_holding; }
    pid_t pid() const { return m_child; }

    void release()
    {
        if (m_child <= 0)
            return;
        ::close(m_release);
        waitpid(m_child, nullptr, 0);
        m_child = 0;
    }

private:
    pid_t m_child = 0;
    int m_release = -1;
    bool m_holding = false;
};

// A process id that was in use and is no longer.
pid_t endedProcess()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

QByteArray lockText(pid_t pid)
{
    return QByteArray::number(pid).rightJustified(10, ' ') + '\n';
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Puts a new file in the place of path at once, as another program takes a lock.
void replaceFile(const QString &path, const QByteArray &bytes)
{
    writeFile(path + QStringLiteral(".new"), bytes);
    ASSERT_EQ(::rename(QFile::encodeName(path + QStringLiteral(".new")).constData(), QFile::encodeName(path).constData()), 0);
}

// What lies at path, as much as a test compares.
QByteArray snapshot(const QString &path)
{
    struct stat info{};
    if (lstat(QFile::encodeName(path).constData(), &info) != 0)
        return "nothing";
    if (S_ISFIFO(info.st_mode))
        return "FIFO";
    if (S_ISDIR(info.st_mode))
        return "folder";
    if (S_ISLNK(info.st_mode))
        return "link";
    return "file: " + readFile(path);
}

QByteArray binaryPid(std::int32_t pid)
{
    return QByteArray(reinterpret_cast<const char *>(&pid), sizeof pid);
}

// Fails a case that hangs instead of letting it stop the run: when the case has not
// ended within the limit, the watchdog opens the lock file for writing, which frees a
// reader blocked in opening a FIFO, and the case counts as hung.
class Watchdog
{
public:
    explicit Watchdog(const QString &lockPath, std::chrono::milliseconds limit = std::chrono::seconds(1))
        : m_lockPath(QFile::encodeName(lockPath)), m_thread([this, limit] { watch(limit); })
    {
    }
    ~Watchdog() { ended(); }

    // True when the case ended in time.
    bool ended()
    {
        {
            std::lock_guard lock(m_mutex);
            m_ended = true;
        }
        m_wake.notify_one();
        if (m_thread.joinable())
            m_thread.join();
        return !m_fired;
    }

private:
    void watch(std::chrono::milliseconds limit)
    {
        std::unique_lock lock(m_mutex);
        if (m_wake.wait_for(lock, limit, [this] { return m_ended; }))
            return;
        m_fired = true;
        const int fd = ::open(m_lockPath.constData(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (fd >= 0)
            ::close(fd);
    }

    QByteArray m_lockPath;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_ended = false;
    bool m_fired = false;
    std::thread m_thread;
};

// A lock whose removal can be interfered with, once.
class InterferedLock : public UucpLock
{
public:
    using UucpLock::UucpLock;
    std::function<void(const QByteArray &lockPath)> interfere;

protected:
    void beforeRemoval(const QByteArray &lockPath) override
    {
        if (interfere)
            std::exchange(interfere, {})(lockPath);
    }
};

// The system's lock folder, where the terminal programs look.
QString systemLockFolder()
{
    return QFileInfo(QStringLiteral("/var/lock")).isDir() ? QStringLiteral("/var/lock") : QStringLiteral("/run/lock");
}

TEST_F(ComPortOnPty, PortOpenInAnotherProcessIsRefusedUntilReleased)
{
    OtherHolder locker(pty.slavePath(), OtherHolder::LocksIt);
    ASSERT_TRUE(locker.holding());
    expectComPortError([&] { port.OpenPort(); }, EComPort::OpenFailed, EBUSY);
    locker.release();

    OtherHolder holder(pty.slavePath());
    ASSERT_TRUE(holder.holding());
    pty.write("512b");
    int delivered = 0;
    port.OnRxChar = [&](TCustomComPort &, int) { ++delivered; };
    expectComPortError([&] { port.OpenPort(); }, EComPort::OpenFailed, EBUSY);
    EXPECT_FALSE(port.Connected());
    EXPECT_FALSE(port.Device().isOpen());
    EXPECT_EQ(port.EventThread(), nullptr);
    EXPECT_EQ(delivered, 0) << "nothing is read from a port we refused";

    holder.release();
    port.OpenPort();
    ASSERT_TRUE(port.Connected());
    const QByteArray lock = port.Device().lockFile();
    ASSERT_FALSE(lock.isEmpty()) << "the lock folder is writable here";
    EXPECT_EQ(readFile(QString::fromLocal8Bit(lock)), lockText(getpid()));
    EXPECT_TRUE(waitFor([&] { return delivered > 0; })) << "the bytes the holder left are ours now";
    port.ClosePort();
    EXPECT_FALSE(QFile::exists(QString::fromLocal8Bit(lock))) << "Stop removes our lock";
}

TEST_F(ComPortOnPty, LockInTheSystemFolderRefusesThePortAndSaysWhoHoldsIt)
{
    const QString lockPath = systemLockFolder() + u'/'
                             + QString::fromLocal8Bit(UucpLock::fileName(QFile::encodeName(pty.slavePath())));
    if (!QFileInfo(systemLockFolder()).isWritable())
        GTEST_SKIP() << "the lock folder may not be written by this user";
    const struct
    {
        const char *name;
        std::function<void()> make;
        QString holder;
    } locks[] = {
        {"a live program's lock", [&] { writeFile(lockPath, lockText(getppid())); },
         QStringLiteral("process %1").arg(getppid())},
        {"a FIFO", [&] { ASSERT_EQ(mkfifo(QFile::encodeName(lockPath).constData(), 0600), 0); },
         QStringLiteral("not a regular file")},
    };
    for (const auto &lock : locks) {
        SCOPED_TRACE(lock.name);
        lock.make();
        testing::internal::CaptureStderr();
        Watchdog watchdog(lockPath);
        expectComPortError([&] { port.OpenPort(); }, EComPort::OpenFailed, EBUSY);
        EXPECT_TRUE(watchdog.ended()) << "Start hung on the lock";
        const QString said = QString::fromStdString(testing::internal::GetCapturedStderr());
        EXPECT_FALSE(port.Connected());
        EXPECT_TRUE(said.contains(lockPath + QStringLiteral(", ") + lock.holder)) << said.toStdString();
        EXPECT_EQ(said.count(u'\n'), 1) << said.toStdString();
        ASSERT_EQ(::remove(QFile::encodeName(lockPath).constData()), 0) << "the lock was left where it was";
    }

    writeFile(lockPath, lockText(endedProcess()));
    port.OpenPort();
    EXPECT_TRUE(port.Connected());
    EXPECT_EQ(readFile(lockPath), lockText(getpid()));
    port.ClosePort();
    EXPECT_FALSE(QFile::exists(lockPath));
}

TEST(ComPortOpen, OnlyCharacterDevicesAreOpenedAndNothingElseIsTouched)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("passwd"));
    writeFile(file, "root:x:0:0:root:/root:/bin/bash\n");
    const QString fifo = folder.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QByteArray before = readFile(file);
    struct stat fileBefore{};
    ASSERT_EQ(stat(QFile::encodeName(file).constData(), &fileBefore), 0);

    // The last one as `--port ../tmp/.../passwd` reaches it through /dev.
    for (const QString &path : {file, fifo, QDir(QStringLiteral("/dev")).relativeFilePath(file)}) {
        SCOPED_TRACE(path.toStdString());
        TComPort port;
        port.setPort(path);
        expectComPortError([&] { port.OpenPort(); }, EComPort::OpenFailed, ENOTTY);
        EXPECT_FALSE(port.Connected());
        EXPECT_TRUE(port.Device().lockFile().isEmpty());
    }
    struct stat fileAfter{};
    ASSERT_EQ(stat(QFile::encodeName(file).constData(), &fileAfter), 0);
    EXPECT_EQ(readFile(file), before);
    EXPECT_EQ(fileAfter.st_mtim.tv_sec, fileBefore.st_mtim.tv_sec);
    EXPECT_EQ(fileAfter.st_mtim.tv_nsec, fileBefore.st_mtim.tv_nsec);
}

TEST(UucpLockTest, NamesTheRealDeviceByItsPathBelowDev)
{
    PtyPair pty;
    QTemporaryDir folder;
    const QString link = folder.filePath(QStringLiteral("usb-FTDI_board-if00"));
    ASSERT_TRUE(QFile::link(pty.slavePath(), link));
    const QByteArray ptyName = "LCK.." + QFile::encodeName(pty.slavePath()).mid(5).replace('/', '_');
    const std::pair<QByteArray, QByteArray> names[] = {
        {"/dev/ttyUSB0", "LCK..ttyUSB0"},
        {"/dev/pts/3", "LCK..pts_3"},
        {QFile::encodeName(link), ptyName},
    };
    for (const auto &[device, name] : names)
        EXPECT_EQ(UucpLock::fileName(device), name) << device.toStdString();
    EXPECT_TRUE(ptyName.startsWith("LCK..pts_")) << ptyName.toStdString();
}

TEST(UucpLockTest, WhatCannotBeUnderstoodAsAStaleLockIsLeftAlone)
{
    const pid_t ended = endedProcess();
    const struct
    {
        const char *name;
        std::function<void(const QString &path)> make;
        bool held;
        std::function<void(const QString &path)> interfere = {};
    } rows[] = {
        {"a FIFO", [](const QString &path) { ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0); }, true},
        {"a folder", [](const QString &path) { ASSERT_TRUE(QDir().mkdir(path)); }, true},
        {"a link to a stale lock",
         [&](const QString &path) {
             writeFile(path + QStringLiteral(".target"), lockText(ended));
             ASSERT_TRUE(QFile::link(path + QStringLiteral(".target"), path));
         },
         true},
        {"a live id in four binary bytes", [](const QString &path) { writeFile(path, binaryPid(getppid())); }, true},
        {"an ended id in four binary bytes", [&](const QString &path) { writeFile(path, binaryPid(ended)); }, false},
        {"an id beyond 32 bits", [](const QString &path) { writeFile(path, "4294967295\n"); }, true},
        {"an id beyond the kernel's highest", [](const QString &path) { writeFile(path, "2147483647\n"); }, true},
        {"the id 0", [](const QString &path) { writeFile(path, lockText(0)); }, true},
        {"text that is no id", [](const QString &path) { writeFile(path, "locked by me\n"); }, true},
        {"a stale lock swapped for a live one before its removal",
         [&](const QString &path) { writeFile(path, lockText(ended)); }, true,
         [](const QString &path) { replaceFile(path, lockText(getppid())); }},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir folder;
        const QString path = folder.filePath(QString::fromLatin1(UucpLock::fileName("/dev/ttyS7")));
        row.make(path);
        QByteArray expected = row.held ? snapshot(path) : "file: " + lockText(getpid());
        InterferedLock lock({QFile::encodeName(folder.path())});
        if (row.interfere) {
            lock.interfere = [&](const QByteArray &) {
                row.interfere(path);
                expected = snapshot(path);
            };
        }
        Watchdog watchdog(path);
        const UucpLock::Outcome outcome = lock.acquire("/dev/ttyS7");
        EXPECT_TRUE(watchdog.ended()) << "the look at the lock hung";
        EXPECT_EQ(outcome, row.held ? UucpLock::Outcome::HeldElsewhere : UucpLock::Outcome::Taken);
        EXPECT_EQ(snapshot(path), expected);
        EXPECT_EQ(lock.refusal().startsWith(QFile::encodeName(path) + ", "), row.held) << lock.refusal().toStdString();
        lock.release();
        EXPECT_EQ(snapshot(path), row.held ? expected : "nothing") << "after release";
        const QStringList left = QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        EXPECT_FALSE(left.join(u' ').contains(QStringLiteral(".ondrix"))) << "nothing is left aside";
    }
}

TEST(UucpLockTest, ReleaseRemovesOnlyTheLockWeMade)
{
    QTemporaryDir folder;
    UucpLock lock({QFile::encodeName(folder.path())});
    ASSERT_EQ(lock.acquire("/dev/ttyS7"), UucpLock::Outcome::Taken);
    const QString path = QString::fromLocal8Bit(lock.path());
    replaceFile(path, lockText(getppid()));
    lock.release();
    EXPECT_EQ(readFile(path), lockText(getppid())) << "another program's lock in our lock's place is kept";
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QFileInfo(path).fileName()});
}

TEST(UucpLockTest, HoldersAreLookedForInEveryFolderAndTheLockTakenInTheFirst)
{
    QTemporaryDir first;
    QTemporaryDir second;
    const QByteArray name = UucpLock::fileName("/dev/ttyS7");
    const QString inFirst = first.filePath(QString::fromLatin1(name));
    const QString inSecond = second.filePath(QString::fromLatin1(name));
    UucpLock lock({"/nonexistent-lock-folder", QFile::encodeName(first.path()), QFile::encodeName(second.path())});

    writeFile(inSecond, lockText(getppid()));
    EXPECT_EQ(lock.acquire("/dev/ttyS7"), UucpLock::Outcome::HeldElsewhere);
    EXPECT_FALSE(QFile::exists(inFirst));

    const struct
    {
        const char *name;
        QByteArray content;
    } stale[] = {{"ended process", lockText(endedProcess())},
                 {"our own id, left by an earlier run", lockText(getpid())}};
    for (const auto &row : stale) {
        SCOPED_TRACE(row.name);
        writeFile(inSecond, row.content);
        ASSERT_EQ(lock.acquire("/dev/ttyS7"), UucpLock::Outcome::Taken);
        EXPECT_EQ(lock.path(), QFile::encodeName(inFirst));
        EXPECT_EQ(readFile(inFirst), lockText(getpid()));
        EXPECT_FALSE(QFile::exists(inSecond)) << "the stale lock is removed";
        lock.release();
        EXPECT_FALSE(QFile::exists(inFirst));
    }

    writeFile(inSecond, QByteArray());
    EXPECT_EQ(lock.acquire("/dev/ttyS7"), UucpLock::Outcome::HeldElsewhere)
        << "a lock just made may not hold its id yet";

    UucpLock nowhere({"/nonexistent-lock-folder"});
    EXPECT_EQ(nowhere.acquire("/dev/ttyS7"), UucpLock::Outcome::NotPossible);
}

} // namespace
