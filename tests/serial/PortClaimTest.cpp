// A port that another program has open or locked is refused; only character devices
// are opened; our own UUCP lock lives exactly as long as the opening.

#include "serial/UucpLock.h"
#include "tests/serial/ComPortFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Another process that has the device open until released, as `cat /dev/pts/N` would.
class OtherHolder
{
public:
    explicit OtherHolder(const QString &device)
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
            char answer = fd >= 0 ? 'y' : 'n';
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

// The system's lock folder, where the terminal programs look.
QString systemLockFolder()
{
    return QFileInfo(QStringLiteral("/var/lock")).isDir() ? QStringLiteral("/var/lock") : QStringLiteral("/run/lock");
}

TEST_F(ComPortOnPty, PortOpenInAnotherProcessIsRefusedUntilReleased)
{
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

TEST_F(ComPortOnPty, LiveUucpLockRefusesThePortAndAStaleOneIsReplaced)
{
    const QString lockPath = systemLockFolder() + u'/'
                             + QString::fromLocal8Bit(UucpLock::fileName(QFile::encodeName(pty.slavePath())));
    if (!QFileInfo(systemLockFolder()).isWritable())
        GTEST_SKIP() << "the lock folder may not be written by this user";
    writeFile(lockPath, lockText(getppid()));
    expectComPortError([&] { port.OpenPort(); }, EComPort::OpenFailed, EBUSY);
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(readFile(lockPath), lockText(getppid())) << "a live program's lock is left alone";

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

TEST(UucpLockTest, NamesTheRealDeviceByItsLastPart)
{
    QTemporaryDir folder;
    const QString link = folder.filePath(QStringLiteral("usb-FTDI_board-if00"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), link));
    EXPECT_EQ(UucpLock::fileName("/dev/ttyUSB0"), "LCK..ttyUSB0");
    EXPECT_EQ(UucpLock::fileName(QFile::encodeName(link)), "LCK..null") << "a link locks what it names";
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
