// Runs the built program the way run.sh starts it, on a board played by the test: what
// the command line sets up must reach the running window.

#include "tests/e2e/ProgramRun.h"
#include "tests/support/PtyPair.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(ProgramRunTest, readingsReachTheWindowWhileItRuns)
{
    PtyPair board;
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString record = folder.filePath(QStringLiteral("readings.csv"));
    QProcess program;
    startProgram(program, {QStringLiteral("--port"), board.slavePath(), QStringLiteral("--start"),
                           QStringLiteral("--record"), record});
    ASSERT_TRUE(program.waitForStarted(generousMs));

    // The window records each reading as it takes it and writes the file out twice a
    // second; the board goes on sending until the file shows one. A reading held back
    // until the program ends never shows while it runs.
    const bool arrived = QTest::qWaitFor(
        [&] {
            board.tryWrite("512b", 0);
            return fileBytes(record).contains(",ADC0,512\n");
        },
        generousMs);
    const bool running = program.state() == QProcess::Running;
    program.terminate(); // closes the window the normal way
    EXPECT_TRUE(program.waitForFinished(generousMs));
    EXPECT_TRUE(running);
    EXPECT_TRUE(arrived) << program.readAllStandardError().toStdString();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
}

} // namespace
