// Runs the built program where no display can be reached: what the command line asks
// for must not need one.

#include "tests/support/ReadOnlyFolder.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr int generousMs = 20000;

struct Outcome
{
    QProcess::ExitStatus status;
    int code;
    QString out;
    QString err;
};

Outcome runWithoutDisplay(const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    // The X11 platform, as on a desktop: it cannot start here.
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(ONDRIX_PROGRAM), arguments);
    EXPECT_TRUE(program.waitForFinished(generousMs));
    return {program.exitStatus(), program.exitCode(), QString::fromLocal8Bit(program.readAllStandardOutput()),
            QString::fromLocal8Bit(program.readAllStandardError())};
}

TEST(CommandLineTest, helpAndVersionAnswerWithoutADisplay)
{
    const Outcome help = runWithoutDisplay({QStringLiteral("--help")});
    EXPECT_EQ(help.status, QProcess::NormalExit) << help.err.toStdString();
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("Usage:"))) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains(QStringLiteral("--port <name>"))) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains(QStringLiteral("--start"))) << help.out.toStdString();

    const Outcome version = runWithoutDisplay({QStringLiteral("--version")});
    EXPECT_EQ(version.status, QProcess::NormalExit) << version.err.toStdString();
    EXPECT_EQ(version.code, 0);
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("ondrix "))) << version.out.toStdString();
}

TEST(CommandLineTest, anUnknownOptionExitsWithTwoAfterTheUsage)
{
    const Outcome wrong = runWithoutDisplay({QStringLiteral("--prot"), QStringLiteral("ttyUSB0")});
    EXPECT_EQ(wrong.status, QProcess::NormalExit) << wrong.err.toStdString();
    EXPECT_EQ(wrong.code, 2);
    EXPECT_TRUE(wrong.err.contains(QStringLiteral("prot"))) << wrong.err.toStdString();
    EXPECT_TRUE(wrong.err.contains(QStringLiteral("Usage:"))) << wrong.err.toStdString();
    EXPECT_TRUE(wrong.out.isEmpty()) << wrong.out.toStdString();

    const Outcome missingValue = runWithoutDisplay({QStringLiteral("--port")});
    EXPECT_EQ(missingValue.code, 2) << missingValue.err.toStdString();
}

TEST(CommandLineTest, aRecordingThatCannotBeMadeEndsTheStartWithTwoAndOneLine)
{
    QTemporaryDir dir;
    ReadOnlyFolder readOnly;
    ASSERT_TRUE(readOnly.ready()) << readOnly.error().toStdString();
    const QString missing = dir.filePath(QStringLiteral("gone/readings.csv"));
    const QString locked = readOnly.path() + QStringLiteral("/readings.csv");
    const struct
    {
        QString file;
        QString reason;
    } rows[] = {
        {missing, QStringLiteral("folder %1: No such file or directory").arg(dir.filePath(QStringLiteral("gone")))},
        {locked, QStringLiteral("folder %1: ").arg(readOnly.path())},
        {dir.path(), QStringLiteral("Is a directory")},
    };
    for (const auto &row : rows) {
        const Outcome run = runWithoutDisplay({QStringLiteral("--record"), row.file});
        EXPECT_EQ(run.status, QProcess::NormalExit) << row.file.toStdString();
        EXPECT_EQ(run.code, 2) << run.err.toStdString();
        const QString line = QStringLiteral("ondrix: cannot record into ") + row.file + QStringLiteral(": ");
        EXPECT_TRUE(run.err.startsWith(line + row.reason)) << run.err.toStdString();
        EXPECT_EQ(run.err.count(u'\n'), 1) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(missing));
}

TEST(CommandLineTest, aNetworkPortInAnotherFormEndsTheStartWithTwoAndOneLine)
{
    for (const char *port : {"telnet://localhost:2000", "rfc2217://localhost", "socket://:2000",
                             "rfc2217://host:99999", "socket://::1:2000", "rfc2217://host:2000?logging=debug"}) {
        const Outcome run = runWithoutDisplay({QStringLiteral("--port"), QString::fromLatin1(port)});
        EXPECT_EQ(run.code, 2) << port << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("ondrix: --port %1: ").arg(port))) << run.err.toStdString();
        EXPECT_EQ(run.err.count(u'\n'), 1) << run.err.toStdString();
    }
}

} // namespace
