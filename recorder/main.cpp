// ondrix-record: the window's recording without the window, for a board logged for days
// by a machine with no screen, typically as the systemd service ondrix-record@DEVICE.

#include "recorder/UnattendedRecorder.h"
#include "runtime/Exception.h"
#include "runtime/TerminationSignals.h"
#include "runtime/UserSignal.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void refuse(const QString &problem)
{
    std::fprintf(stderr, "ondrix-record: %s (see --help)\n", qPrintable(problem));
    std::exit(2);
}

// One line on stderr, with the time: journald keeps it, and so does a redirected log.
void say(const QString &line)
{
    std::fprintf(stderr, "%s ondrix-record: %s\n",
                 qPrintable(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))),
                 qPrintable(line));
}

RecorderOptions readCommandLine(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Records every reading of an ADC board on a serial line into CSV files, without a window.\n"
        "The file name may hold strftime fields (%Y-%m-%d): a new file starts whenever the name changes."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Serial device to read (ttyUSB0, /dev/ttyUSB0)."),
                                  QStringLiteral("name"));
    const QCommandLineOption record(QStringLiteral("record"),
                                    QStringLiteral("File to record into; strftime fields give one file a day, say."),
                                    QStringLiteral("pattern"));
    const QCommandLineOption line(QStringLiteral("line"),
                                  QStringLiteral("Rate, data bits, parity, stop bits (default 9600,8N1)."),
                                  QStringLiteral("settings"));
    const QCommandLineOption flow(QStringLiteral("flow"), QStringLiteral("rtscts (default), xonxoff or none."),
                                  QStringLiteral("control"));
    const QCommandLineOption multiplier(QStringLiteral("multiplier"),
                                        QStringLiteral("Multiply every reading, 1 to 100000 (default 1)."),
                                        QStringLiteral("n"));
    parser.addOptions({port, record, line, flow, multiplier});
    if (!parser.parse(app.arguments()))
        refuse(parser.errorText());
    parser.process(app); // prints the help or the version and exits when asked
    if (!parser.positionalArguments().isEmpty())
        refuse(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().front()));
    RecorderOptions options;
    options.port = parser.value(port);
    options.pattern = parser.value(record);
    if (options.port.isEmpty() || options.pattern.isEmpty())
        refuse(QStringLiteral("--port and --record are both needed"));
    if (parser.isSet(line) && !options.setLine(parser.value(line)))
        refuse(QStringLiteral("--line takes a rate and a frame like 9600,8N1 or 115200,7E2, not '%1'").arg(parser.value(line)));
    if (parser.isSet(flow) && !options.setFlow(parser.value(flow)))
        refuse(QStringLiteral("--flow takes rtscts, xonxoff or none, not '%1'").arg(parser.value(flow)));
    if (parser.isSet(multiplier) && !options.setMultiplier(parser.value(multiplier)))
        refuse(QStringLiteral("--multiplier takes a whole number from 1 to 100000, not '%1'").arg(parser.value(multiplier)));
    return options;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("ondrix-record"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ONDRIX_VERSION));
    QCoreApplication app(argc, argv);
    // Before any thread: SIGUSR1 stays blocked in all of them.
    UserSignal statusSignal;
    const RecorderOptions options = readCommandLine(app);

    // Before the recorder: it stays until the recorder's last flush is done.
    TerminationSignals termination;
    UnattendedRecorder recorder(options, &say);
    QObject::connect(&statusSignal, &UserSignal::raised, &app, [&] { say(recorder.status()); });
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &app, [&] {
        recorder.finish();
        app.exit(0);
    });
    QObject::connect(&recorder, &UnattendedRecorder::gaveUp, &app, [&] {
        recorder.finish();
        app.exit(1);
    }, Qt::QueuedConnection);
    say(QStringLiteral("recording %1 into %2").arg(options.port, options.pattern));
    try {
        recorder.start();
    } catch (const Exception &error) {
        say(error.message());
        return 1;
    }
    return app.exec();
}
