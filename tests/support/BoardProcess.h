#pragma once

#include <QProcess>
#include <QStringList>
#include <string>

// The built board simulator running as a process of its own; stopped at the end of the
// test if it still runs (SIGTERM, then SIGKILL if that does not end it).
class BoardProcess
{
public:
    static constexpr int generousMs = 20000;

    BoardProcess(const QString &program, const QStringList &arguments);
    ~BoardProcess();
    BoardProcess(const BoardProcess &) = delete;
    BoardProcess &operator=(const BoardProcess &) = delete;

    // The slave path: the first line the simulator prints; empty when none came.
    std::string slavePath();

    // Exit code once finished, -1 when it did not finish normally within the bound.
    int exitCode();

    // Waits until the standard error holds text, or the bound passes; returns all of it.
    QString waitForError(const QString &text);

    QProcess &process() { return m_process; }

private:
    QProcess m_process;
    QString m_error;
};
