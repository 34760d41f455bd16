#include "recorder/RecorderOptions.h"

#include "app/BoardLine.h"
#include "serial/CustomComPort.h"
#include "serial/PortAddress.h"

#include <QCommandLineParser>
#include <QRegularExpression>

void RecorderOptions::applyTo(TCustomComPort &target) const
{
    BoardLine::applyDefaults(target);
    target.setPort(port);
    target.setBaudRate(baudRate);
    if (baudRate == brCustom)
        target.setCustomBaudRate(customBaudRate);
    target.setDataBits(dataBits);
    target.Parity().setBits(parity);
    target.setStopBits(stopBits);
    target.FlowControl().setFlowControl(flow);
}

bool RecorderOptions::setLine(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,7}),([5-8])([NOEMS])(1|1\\.5|2)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = form.match(text);
    const int rate = match.hasMatch() ? match.captured(1).toInt() : 0;
    if (rate <= 0)
        return false;
    // A rate the setup dialog lists goes by its name; any other is custom, as there.
    baudRate = TextToBaudRate(match.captured(1));
    customBaudRate = rate;
    if (BaudRateToText(baudRate) != match.captured(1))
        baudRate = brCustom;
    dataBits = TextToDataBits(match.captured(2));
    for (int bits = prNone; bits < ParityBitsCount; ++bits) {
        if (ParityToText(TParityBits(bits)).front() == match.captured(3).front().toUpper())
            parity = TParityBits(bits);
    }
    stopBits = TextToStopBits(match.captured(4));
    return true;
}

bool RecorderOptions::setFlow(const QString &text)
{
    static const QStringList names = {QStringLiteral("rtscts"), QStringLiteral("xonxoff"), QStringLiteral("none")};
    // In the order of the presets: hardware, software, none.
    const qsizetype index = names.indexOf(text);
    if (index < 0)
        return false;
    flow = TFlowControl(index);
    return true;
}

bool RecorderOptions::setMultiplier(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 1 || value > 100000)
        return false;
    multiplier = value;
    return true;
}

QString RecorderOptions::read(QCommandLineParser &parser, const QStringList &arguments)
{
    parser.setApplicationDescription(QStringLiteral(
        "Records every reading of an ADC board on a serial line into CSV files, without a window.\n"
        "The file name may hold strftime fields (%Y-%m-%d): a new file starts whenever the name changes."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Serial device to read (ttyUSB0, /dev/ttyUSB0)."),
                                        QStringLiteral("name"));
    const QCommandLineOption recordOption(QStringLiteral("record"),
                                          QStringLiteral("File to record into; strftime fields give one file a day, say."),
                                          QStringLiteral("pattern"));
    const QCommandLineOption lineOption(QStringLiteral("line"),
                                        QStringLiteral("Rate, data bits, parity, stop bits (default 9600,8N1)."),
                                        QStringLiteral("settings"));
    const QCommandLineOption flowOption(QStringLiteral("flow"), QStringLiteral("rtscts (default), xonxoff or none."),
                                        QStringLiteral("control"));
    const QCommandLineOption multiplierOption(QStringLiteral("multiplier"),
                                              QStringLiteral("Multiply every reading, 1 to 100000 (default 1)."),
                                              QStringLiteral("n"));
    parser.addOptions({portOption, recordOption, lineOption, flowOption, multiplierOption});
    if (!parser.parse(arguments))
        return parser.errorText();
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all")) || parser.isSet(version))
        return {};
    if (!parser.positionalArguments().isEmpty())
        return QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().front());
    port = parser.value(portOption);
    pattern = parser.value(recordOption);
    if (port.isEmpty() || pattern.isEmpty())
        return QStringLiteral("--port and --record are both needed");
    // A network address that cannot be opened as written would be retried for ever.
    if (const QString problem = PortAddress::problem(port); !problem.isEmpty())
        return QStringLiteral("--port %1: %2").arg(port, problem);
    if (parser.isSet(lineOption) && !setLine(parser.value(lineOption)))
        return QStringLiteral("--line takes a rate and a frame like 9600,8N1 or 115200,7E2, not '%1'").arg(parser.value(lineOption));
    if (parser.isSet(flowOption) && !setFlow(parser.value(flowOption)))
        return QStringLiteral("--flow takes rtscts, xonxoff or none, not '%1'").arg(parser.value(flowOption));
    if (parser.isSet(multiplierOption) && !setMultiplier(parser.value(multiplierOption)))
        return QStringLiteral("--multiplier takes a whole number from 1 to 100000, not '%1'").arg(parser.value(multiplierOption));
    return {};
}
