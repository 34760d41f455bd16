#include "serial/ComSettings.h"

#include <array>
#include <span>

namespace {

constexpr std::array<int, BaudRateCount> baudRates = {
    0, 110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200,
    38400, 56000, 57600, 115200, 128000, 256000};

constexpr std::array<const char *, BaudRateCount> baudRateTexts = {
    "Custom", "110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200",
    "38400", "56000", "57600", "115200", "128000", "256000"};
constexpr std::array<const char *, StopBitsCount> stopBitsTexts = {"1", "1.5", "2"};
constexpr std::array<const char *, DataBitsCount> dataBitsTexts = {"5", "6", "7", "8"};
constexpr std::array<const char *, ParityBitsCount> parityTexts = {
    "None", "Odd", "Even", "Mark", "Space"};
constexpr std::array<const char *, FlowControlCount> flowControlTexts = {
    "Hardware", "Software", "None", "Custom"};

// Driver event bit of each TComEvent, indexed by the event's ordinal.
constexpr std::array<std::uint32_t, 10> driverEventBits = {
    0x0001, 0x0004, 0x0002, 0x0100, 0x0040, 0x0008, 0x0010, 0x0080, 0x0020, 0x0400};

// Only ASCII letters change case, so the comparison does not depend on the locale.
QString asciiUpper(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    }
    return result;
}

// The ordinal of the first text form equal to text, ignoring case; fallback if none.
int indexOfText(std::span<const char *const> forms, const QString &text, int fallback)
{
    const QString wanted = asciiUpper(text);
    for (std::size_t i = 0; i < forms.size(); ++i) {
        if (asciiUpper(QString::fromLatin1(forms[i])) == wanted)
            return int(i);
    }
    return fallback;
}

} // namespace

int BaudRateValue(TBaudRate rate)
{
    return baudRates.at(rate);
}

QString BaudRateToText(TBaudRate rate)
{
    return QString::fromLatin1(baudRateTexts.at(rate));
}

QString StopBitsToText(TStopBits bits)
{
    return QString::fromLatin1(stopBitsTexts.at(bits));
}

QString DataBitsToText(TDataBits bits)
{
    return QString::fromLatin1(dataBitsTexts.at(bits));
}

QString ParityToText(TParityBits bits)
{
    return QString::fromLatin1(parityTexts.at(bits));
}

QString FlowControlToText(TFlowControl flow)
{
    return QString::fromLatin1(flowControlTexts.at(flow));
}

TBaudRate TextToBaudRate(const QString &text)
{
    return TBaudRate(indexOfText(baudRateTexts, text, br9600));
}

TStopBits TextToStopBits(const QString &text)
{
    return TStopBits(indexOfText(stopBitsTexts, text, sbOneStopBit));
}

TDataBits TextToDataBits(const QString &text)
{
    return TDataBits(indexOfText(dataBitsTexts, text, dbEight));
}

TParityBits TextToParity(const QString &text)
{
    return TParityBits(indexOfText(parityTexts, text, prNone));
}

TFlowControl TextToFlowControl(const QString &text)
{
    return TFlowControl(indexOfText(flowControlTexts, text, fcCustom));
}

std::uint32_t EventsToMask(TComEvents events)
{
    std::uint32_t mask = 0;
    for (std::size_t i = 0; i < driverEventBits.size(); ++i) {
        if (events.contains(TComEvent(i)))
            mask |= driverEventBits[i];
    }
    return mask;
}

TComEvents MaskToEvents(std::uint32_t mask)
{
    TComEvents events;
    for (std::size_t i = 0; i < driverEventBits.size(); ++i) {
        if (mask & driverEventBits[i])
            events.insert(TComEvent(i));
    }
    return events;
}
