#include "tests/support/BoardProcess.h"

#include <QTest>
#include <gtest/gtest.h>

BoardProcess::BoardProcess(const QString &program, const QStringList &arguments)
{
    m_process.start(program, arguments);
    EXPECT_TRUE(m_process.waitForStarted(generousMs));
}

BoardProcess::~BoardProcess()
{
    // SIGTERM first, as a user or systemd ends it: the simulator then exits cleanly.
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(generousMs)) {
            m_process.kill();
            m_process.waitForFinished(generousMs);
        }
    }
}

std::string BoardProcess::slavePath()
{
    while (!m_process.canReadLine() && m_process.waitForReadyRead(generousMs)) {
    }
    return m_process.readLine().trimmed().toStdString();
}

int BoardProcess::exitCode()
{
    if (!m_process.waitForFinished(generousMs) || m_process.exitStatus() != QProcess::NormalExit)
        return -1;
    return m_process.exitCode();
}

QString BoardProcess::waitForError(const QString &text)
{
    const bool arrived = QTest::qWaitFor(
        [&] {
            m_error += QString::fromUtf8(m_process.readAllStandardError());
            return m_error.contains(text);
        },
        generousMs);
    if (!arrived)
        ADD_FAILURE() << "not on standard error: " << text.toStdString();
    return m_error;
}
