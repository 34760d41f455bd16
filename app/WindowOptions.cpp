#include "app/WindowOptions.h"

#include "app/RecordPathCheck.h"
#include "serial/PortAddress.h"

#include <QCommandLineParser>

QString WindowOptions::read(QCommandLineParser &parser, const QStringList &arguments)
{
    parser.setApplicationDescription(QStringLiteral("Six-channel display for an ADC board on a serial line."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
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
    parser.addOptions({portOption, startOption, recordOption});
    if (!parser.parse(arguments))
        return parser.errorText() + QStringLiteral("\n\n") + parser.helpText();
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all")) || parser.isSet(version))
        return {};
    start = parser.isSet(startOption);
    if (parser.isSet(recordOption)) {
        record = parser.value(recordOption);
        const QString problem = RecordPathCheck::problem(*record);
        if (!problem.isEmpty())
            return QStringLiteral("ondrix: cannot record into %1: %2\n").arg(*record, problem);
    }
    if (parser.isSet(portOption)) {
        port = parser.value(portOption);
        const QString problem = PortAddress::problem(*port);
        if (!problem.isEmpty())
            return QStringLiteral("ondrix: --port %1: %2\n").arg(*port, problem);
    }
    return {};
}
