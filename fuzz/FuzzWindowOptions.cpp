// Feeds argument vectors, the pieces of the input between NULs, to ondrix's command line.
// A refusal of a value is one line that names the program; any other is Qt's reason with
// the usage. What is taken is a port that can be opened as named, and a recording's name
// the file system has room for.

#include "app/RecordPathCheck.h"
#include "app/WindowOptions.h"
#include "fuzz/FuzzCommandLine.h"

#include <QCommandLineParser>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QStringList arguments = qtArgumentsIn(data, size, "ondrix");
    QCommandLineParser parser;
    WindowOptions options;
    const QString refusal = options.read(parser, arguments);
    if (refusal.startsWith(QStringLiteral("ondrix: "))) {
        if (!refusal.endsWith(u'\n'))
            std::abort();
        checkOneLine(refusal, arguments);
    } else if (!refusal.isEmpty()) {
        if (!refusal.contains(QStringLiteral("Usage: ")))
            std::abort();
    } else {
        if (options.port)
            checkPort(*options.port);
        if (options.record && !RecordPathCheck::problem(*options.record).isEmpty())
            std::abort();
    }
    return 0;
}
