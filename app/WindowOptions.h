#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QCommandLineParser;

// What ondrix was asked to do on its command line.
struct WindowOptions
{
    std::optional<QString> port;
    std::optional<QString> record;
    bool start = false;

    // Reads arguments, the program's name first, with parser, which then answers --help
    // and --version (QCommandLineParser::process); nothing past those is looked at. What
    // to write on stderr before ending with status 2, or an empty text. A port and a
    // recording are looked at before the window opens, so that a mistyped one fails at
    // once, as a command-line tool does, instead of at the first Start.
    QString read(QCommandLineParser &parser, const QStringList &arguments);
};
