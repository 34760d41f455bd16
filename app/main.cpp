#include "app/Form1.h"
#include "app/Form2.h"
#include "app/ProgramEnding.h"
#include "app/RecordPathCheck.h"
#include "runtime/Application.h"
#include "runtime/TerminationSignals.h"
#include "runtime/Translation.h"
#include "serial/ComPort.h"
#include "serial/PortAddress.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace {

// Reads the command line before anything needs a display, so that --help, --version and
// a mistyped option answer on a text console too; ends the program for those three.
void readCommandLine(QCommandLineParser &options, int argc, char *argv[])
{
    // A core application object needs no display; the parser takes the program's name
    // and arguments from it.
    QCoreApplication core(argc, argv);
    options.setApplicationDescription(QStringLiteral("Six-channel display for an ADC board on a serial line."));
    options.addHelpOption();
    options.addVersionOption();
    if (!options.parse(core.arguments())) {
        std::fprintf(stderr, "%s\n\n%s", qPrintable(options.errorText()), qPrintable(options.helpText()));
        std::exit(2);
    }
    options.process(core); // prints the help or the version and exits when asked
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("ondrix"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ONDRIX_VERSION));
    QCommandLineParser options;
    const QCommandLineOption portOption(
        QStringLiteral("port"), QStringLiteral("Serial device to open on Start (ttyUSB0, /dev/pts/3), or a port on the network: "
                       "rfc2217://HOST:PORT, socket://HOST:PORT."),
        QStringLiteral("name"));
    const QCommandLineOption startOption(QStringLiteral("start"),
                                         QStringLiteral("Press Start as soon as the window shows."));
    const QCommandLineOption recordOption(
        QStringLiteral("record"),
        QStringLiteral("Record every reading to a CSV file, from the first Start; - is standard output."),
        QStringLiteral("file"));
    options.addOptions({portOption, startOption, recordOption});
    readCommandLine(options, argc, argv);
    if (options.isSet(recordOption) && !RecordPathCheck::acceptOrComplain(options.value(recordOption)))
        return 2;
    if (options.isSet(portOption) && !PortAddress::acceptOrComplain(options.value(portOption)))
        return 2;

    TApplication::prepareWindowSystem();
    QApplication app(argc, argv);
    // The program's real folder, also when it was started through PATH or a link.
    Translation::initialize(QCoreApplication::applicationDirPath());
    TApplication::substituteDesignFonts();

    // Before the window: it stays until the window's last flush is done.
    TerminationSignals termination;
    TForm1 form1;
    TForm2 form2;
    form1.setAboutWindow(&form2);
    if (options.isSet(portOption))
        form1.ComPort1->setPort(options.value(portOption));
    if (options.isSet(recordOption))
        form1.recorder().arm(options.value(recordOption));
    form1.show();
    if (options.isSet(startOption))
        QTimer::singleShot(0, form1.Button1, &QPushButton::click);
    ProgramEnding ending(form1, termination); // cppcheck-suppress unreadVariable ; it acts while it lives
    return app.exec();
}
