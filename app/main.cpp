#include "app/Form1.h"
#include "app/Form2.h"
#include "app/ProgramEnding.h"
#include "app/WindowOptions.h"
#include "runtime/Application.h"
#include "runtime/TerminationSignals.h"
#include "runtime/Translation.h"
#include "serial/ComPort.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace {

// Reads the command line before anything needs a display, so that --help, --version and
// a mistyped option answer on a text console too; ends the program for those three.
WindowOptions readCommandLine(int argc, char *argv[])
{
    // A core application object needs no display; the parser takes the program's name
    // and arguments from it.
    QCoreApplication core(argc, argv);
    QCommandLineParser parser;
    WindowOptions options;
    const QString refusal = options.read(parser, core.arguments());
    if (!refusal.isEmpty()) {
        std::fprintf(stderr, "%s", qPrintable(refusal));
        std::exit(2);
    }
    parser.process(core); // prints the help or the version and exits when asked
    return options;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("ondrix"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ONDRIX_VERSION));
    const WindowOptions options = readCommandLine(argc, argv);

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
    if (options.port)
        form1.ComPort1->setPort(*options.port);
    if (options.record)
        form1.recorder().arm(*options.record);
    form1.show();
    if (options.start)
        QTimer::singleShot(0, form1.Button1, &QPushButton::click);
    ProgramEnding ending(form1, termination); // cppcheck-suppress unreadVariable ; it acts while it lives
    return app.exec();
}
