#pragma once

// The built program, started as a user starts it, for the whole-program tests.

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <csignal>

constexpr int generousMs = 20000;

// Signals that the test runner may ignore (under nohup) reach the program as they reach
// one started from a terminal.
inline void startProgram(QProcess &program, const QStringList &arguments)
{
    program.setChildProcessModifier([] {
        std::signal(SIGHUP, SIG_DFL);
        std::signal(SIGINT, SIG_DFL);
    });
    program.start(QStringLiteral(ONDRIX_PROGRAM), arguments);
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
