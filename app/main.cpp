#include "app/Form1.h"
#include "app/Form2.h"
#include "runtime/Application.h"
#include "runtime/Translation.h"
#include "serial/ComPort.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>

int main(int argc, char *argv[])
{
    Translation::initialize(QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath());
    QApplication app(argc, argv);
    TApplication::substituteDesignFonts();

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Six-channel display for an ADC board on a serial line."));
    options.addHelpOption();
    const QCommandLineOption portOption(
        QStringLiteral("port"), QStringLiteral("Serial device to open on Start (ttyUSB0, /dev/pts/3)."),
        QStringLiteral("name"));
    options.addOption(portOption);
    const QCommandLineOption startOption(QStringLiteral("start"),
                                         QStringLiteral("Press Start as soon as the window shows."));
    options.addOption(startOption);
    const QCommandLineOption recordOption(
        QStringLiteral("record"), QStringLiteral("Record every reading to a CSV file, from the first Start."),
        QStringLiteral("file"));
    options.addOption(recordOption);
    options.process(app);

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
    return app.exec();
}
