// ondrix-record as the service runs it, with no display: every ending signal leaves every
// reading it took written and the port's lock removed; a wrong command line is one line
// and status 2.

#include "app/RecordFormat.h"
#include "tests/support/BoardProcess.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>

namespace {

constexpr int perChannel = 100;
constexpr int readingCount = 6 * perChannel;

// Without a display, as under systemd.
void forgetTheDisplay()
{
    qunsetenv("DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    qunsetenv("QT_QPA_PLATFORM");
}

qsizetype readingLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.readLine() != QByteArray(RecordFormat::header.data()))
        return -1;
    qsizetype lines = 0;
    while (!file.atEnd()) {
        const RecordFormat::Line line = RecordFormat::parseLine(file.readLine().trimmed().toStdString());
        lines += line.status == RecordFormat::Line::reading;
    }
    return lines;
}

// Never to pid 0: that would be the test's whole process group.
bool signalled(QProcess &process, int signal)
{
    const qint64 pid = process.processId();
    return pid > 0 && ::kill(pid_t(pid), signal) == 0;
}

TEST(RecorderProgramTest, eachEndingSignalLeavesEveryReadingWrittenAndTheLockRemoved)
{
    forgetTheDisplay();
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(strsignal(signal));
        QTemporaryDir folder;
        BoardProcess board(QStringLiteral(ONDRIX_BOARD),
                           {QStringLiteral("--rate"), QStringLiteral("400"), QStringLiteral("--count"),
                            QString::number(perChannel)});
        const QString port = QString::fromStdString(board.slavePath());
        const QString path = folder.filePath(QStringLiteral("board.csv"));
        BoardProcess recorder(QStringLiteral(ONDRIX_RECORD),
                              {QStringLiteral("--port"), port, QStringLiteral("--record"), path});
        const QString lock = QStringLiteral("/run/lock/LCK..") + port.mid(5).replace('/', '_');

        // The status line on SIGUSR1 says when all was taken: most of it is not on the
        // disc yet then, and only the ending writes it.
        // SIGUSR1 is taken once the recorder has said it records; before, it would end it.
        QString said = recorder.waitForError(QStringLiteral("recording "));
        const QString allTaken = QStringLiteral("%1 readings taken").arg(readingCount);
        const bool taken = QTest::qWaitFor(
            [&] {
                said += QString::fromUtf8(recorder.process().readAllStandardError());
                return said.contains(allTaken) || !signalled(recorder.process(), SIGUSR1);
            },
            BoardProcess::generousMs);
        ASSERT_TRUE(taken && said.contains(allTaken)) << said.toStdString();
        EXPECT_TRUE(QFile::exists(lock)) << lock.toStdString();

        ASSERT_TRUE(signalled(recorder.process(), signal));
        EXPECT_EQ(recorder.exitCode(), 0);
        EXPECT_EQ(readingLines(path), readingCount);
        EXPECT_FALSE(QFile::exists(lock)) << lock.toStdString();
        EXPECT_EQ(board.exitCode(), 0);
    }
}

TEST(RecorderProgramTest, aWrongCommandLineIsOneLineAndStatusTwo)
{
    forgetTheDisplay();
    const QStringList lines[] = {
        {QStringLiteral("--port"), QStringLiteral("ttyUSB0")},
        {QStringLiteral("--record"), QStringLiteral("x.csv")},
        {QStringLiteral("--bogus")},
        {QStringLiteral("--port"), QStringLiteral("ttyUSB0"), QStringLiteral("--record"), QStringLiteral("x.csv"),
         QStringLiteral("--line"), QStringLiteral("9600,8N")},
        {QStringLiteral("--port"), QStringLiteral("ttyUSB0"), QStringLiteral("--record"), QStringLiteral("x.csv"),
         QStringLiteral("--flow"), QStringLiteral("rts")},
        {QStringLiteral("--port"), QStringLiteral("ttyUSB0"), QStringLiteral("--record"), QStringLiteral("x.csv"),
         QStringLiteral("--multiplier"), QStringLiteral("0")},
        {QStringLiteral("--port"), QStringLiteral("ttyUSB0"), QStringLiteral("--record"), QStringLiteral("x.csv"),
         QStringLiteral("extra")},
        {QStringLiteral("--port"), QStringLiteral("rfc2217://host"), QStringLiteral("--record"), QStringLiteral("x.csv")},
    };
    for (const QStringList &arguments : lines) {
        QProcess program;
        program.start(QStringLiteral(ONDRIX_RECORD), arguments);
        ASSERT_TRUE(program.waitForFinished(BoardProcess::generousMs));
        const QByteArray said = program.readAllStandardError();
        EXPECT_EQ(program.exitCode(), 2) << arguments.join(' ').toStdString();
        EXPECT_EQ(said.count('\n'), 1) << said.toStdString();
        EXPECT_TRUE(said.startsWith("ondrix-record: ")) << said.toStdString();
    }
}

} // namespace
