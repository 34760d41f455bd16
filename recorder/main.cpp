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
    RecorderOptions options;
    const QString problem = options.read(parser, app.arguments());
    if (!problem.isEmpty())
        refuse(problem);
    parser.process(app); // prints the help or the version and exits when asked
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
