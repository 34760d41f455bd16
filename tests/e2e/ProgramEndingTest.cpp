// Every way the running program can end: told to by a signal (also with a box open or a
// recording whose reader stalls), or by losing its display. Afterwards the recording
// holds every reading the program read, and the port's lock is gone.

#include "tests/e2e/ProgramRun.h"
#include "tests/support/PtyPair.h"
#include "tests/support/StalledPipe.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// The lock file naming pid as its holder, or nothing.
QString lockHeldBy(qint64 pid)
{
    const QDir folder(QStringLiteral("/var/lock"));
    for (const QFileInfo &entry : folder.entryInfoList({QStringLiteral("LCK..*")}, QDir::Files | QDir::NoSymLinks)) {
        if (fileBytes(entry.filePath()).trimmed() == QByteArray::number(pid))
            return entry.filePath();
    }
    return {};
}

// The ADC0 values of a recording after the zeros sent until it was seen running; a line
// that is not a whole reading ends them.
QList<int> valuesAfterWarmUp(const QByteArray &recording)
{
    QList<QByteArray> lines = recording.split('\n');
    QList<int> values;
    if (lines.takeFirst() != "time_s,channel,value")
        return values;
    for (const QByteArray &line : lines) {
        const QList<QByteArray> fields = line.split(',');
        if (fields.size() != 3 || fields[1] != "ADC0")
            break;
        if (!values.isEmpty() || fields[2] != "0")
            values << fields[2].toInt();
    }
    return values;
}

QList<int> countingUpTo(int last)
{
    QList<int> values;
    for (int value = 1; value <= last; ++value)
        values << value;
    return values;
}

// An X server of the test's own, for a program that is to lose its display.
class VirtualDisplay
{
public:
    // Starts Xvfb on a display number it picks itself; false when it cannot.
    bool start()
    {
        m_server.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                                QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        QByteArray number;
        while (!number.endsWith('\n') && m_server.waitForReadyRead(generousMs))
            number += m_server.readAllStandardOutput();
        m_name = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
        return number.endsWith('\n');
    }
    QString name() const { return m_name; }
    void stop()
    {
        m_server.terminate();
        m_server.waitForFinished(generousMs);
    }

private:
    QProcess m_server;
    QString m_name;
};

// The program on a board played by the test, recording into a file or a pipe.
class ProgramEndingTest : public testing::Test
{
protected:
    void start(const QString &record, const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
    {
        program.setProcessEnvironment(environment);
        startProgram(program, {QStringLiteral("--port"), board.slavePath(), QStringLiteral("--start"),
                               QStringLiteral("--record"), record});
        ASSERT_TRUE(program.waitForStarted(generousMs));
    }

    // The board sends zeros until the recording shows one: the program runs and records.
    bool waitUntilRecording(const std::function<QByteArray()> &recorded)
    {
        return QTest::qWaitFor(
            [&] {
                board.tryWrite("0b", 0);
                return recorded().contains(",ADC0,0\n");
            },
            generousMs);
    }

    // Sends 1b2b.. up to last, then four times what a pseudo-terminal holds of blank
    // lines: once the board has written those, the program has read every reading.
    void sendCountingUpTo(int last)
    {
        std::string readings;
        for (int value = 1; value <= last; ++value)
            readings += std::to_string(value) + 'b';
        board.write(readings);
        board.write(std::string(256 * 1024, '\n'));
    }

    // Ends the running program, recording into a file, with end(); every reading it read
    // must be in the file afterwards, and its lock gone.
    void expectEveryReadingKept(const std::function<void()> &end, int exitCode)
    {
        const QString record = dir.filePath(QStringLiteral("readings.csv"));
        ASSERT_TRUE(waitUntilRecording([&] { return fileBytes(record); }))
            << program.readAllStandardError().toStdString();
        const qint64 pid = program.processId();
        EXPECT_FALSE(lockHeldBy(pid).isEmpty()) << "the port is locked while open";
        sendCountingUpTo(500);
        end();
        ASSERT_TRUE(program.waitForFinished(generousMs));
        EXPECT_EQ(program.exitCode(), exitCode) << program.readAllStandardError().toStdString();
        EXPECT_EQ(valuesAfterWarmUp(fileBytes(record)), countingUpTo(500));
        EXPECT_EQ(lockHeldBy(pid).toStdString(), "");
    }

    PtyPair board;
    QTemporaryDir dir;
    QProcess program;
};

TEST_F(ProgramEndingTest, theTerminalClosingKeepsEveryReading)
{
    start(dir.filePath(QStringLiteral("readings.csv")));
    expectEveryReadingKept([&] { ::kill(pid_t(program.processId()), SIGHUP); }, 0);
}

TEST_F(ProgramEndingTest, aLostDisplayKeepsEveryReading)
{
    VirtualDisplay display;
    if (!display.start())
        GTEST_SKIP() << "Xvfb could not start a display to lose";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("DISPLAY"), display.name());
    start(dir.filePath(QStringLiteral("readings.csv")), environment);
    // Qt's X11 platform ends the process itself, with 1.
    expectEveryReadingKept([&] { display.stop(); }, 1);
}

TEST_F(ProgramEndingTest, standardOutputCarriesEveryReadingToTheProcessReadingIt)
{
    start(QStringLiteral("-"));
    QByteArray out;
    const auto recorded = [&] { return out += program.readAllStandardOutput(); };
    ASSERT_TRUE(waitUntilRecording(recorded)) << program.readAllStandardError().toStdString();
    sendCountingUpTo(500);
    program.terminate();
    ASSERT_TRUE(program.waitForFinished(generousMs));
    EXPECT_EQ(valuesAfterWarmUp(recorded()), countingUpTo(500));
}

TEST_F(ProgramEndingTest, aPipeNobodyReadsHoldsTheEndOnlyForItsLimit)
{
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    const StalledPipe pipe(fifo);
    ASSERT_TRUE(pipe.isOpen());
    start(fifo);
    // The header is in the pipe once the recording has begun, with the port open.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pipe.isEmpty(); }, generousMs));
    const int readings = 5000;
    ASSERT_GT(readings * int(std::string_view("1796776409.630495,ADC0,512\n").size()), pipe.capacity());
    sendCountingUpTo(readings); // more than the pipe holds: some are left when the program ends
    program.terminate();
    // Ends within the pipe's limit of 2 s; far more is allowed here for a loaded machine.
    ASSERT_TRUE(program.waitForFinished(generousMs)) << "the stalled pipe keeps the program";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    const QString said = QString::fromLocal8Bit(program.readAllStandardError());
    EXPECT_TRUE(said.contains(QStringLiteral(" readings could not be written to ") + fifo)) << said.toStdString();
}

TEST_F(ProgramEndingTest, aSignalEndsTheProgramWhileAnErrorBoxIsOpen)
{
    // Start opens the port, then cannot open the recording (a pipe with no reader at
    // all) and shows a box.
    const QString fifo = dir.filePath(QStringLiteral("no-reader"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    start(fifo);
    const qint64 pid = program.processId();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !lockHeldBy(pid).isEmpty(); }, generousMs));
    program.terminate();
    ASSERT_TRUE(program.waitForFinished(generousMs)) << "the box keeps the program";
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(lockHeldBy(pid).toStdString(), "");
}

} // namespace
