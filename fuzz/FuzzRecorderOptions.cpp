// Feeds argument vectors, the pieces of the input between NULs, to ondrix-record's
// command line. A refusal is one line; what is taken is a port that can be opened as
// named, a custom rate above zero, one of the three flow controls, a multiplier within
// its range, and a recording's pattern that expands to one name for each time.

#include "fuzz/FuzzCommandLine.h"
#include "recorder/RecorderOptions.h"

#include <QCommandLineParser>
#include <QFile>

namespace {

void checkTaken(const RecorderOptions &options)
{
    if (options.pattern.isEmpty() || options.multiplier < 1 || options.multiplier > 100000)
        std::abort();
    if (options.baudRate == brCustom && options.customBaudRate <= 0)
        std::abort();
    if (options.flow != fcHardware && options.flow != fcSoftware && options.flow != fcNone)
        std::abort();
    checkPort(options.port);
    // As the recorder takes it.
    checkPattern(QFile::encodeName(options.pattern).toStdString());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QStringList arguments = qtArgumentsIn(data, size, "ondrix-record");
    QCommandLineParser parser;
    RecorderOptions options;
    const QString refusal = options.read(parser, arguments);
    if (!refusal.isEmpty())
        checkOneLine(refusal, arguments);
    else if (!options.port.isEmpty()) // empty: --help or --version
        checkTaken(options);
    return 0;
}
