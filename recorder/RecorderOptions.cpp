#include "recorder/RecorderOptions.h"

#include "app/BoardLine.h"
#include "serial/CustomComPort.h"

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
