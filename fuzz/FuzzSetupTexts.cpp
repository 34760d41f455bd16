// Feeds arbitrary text to the serial settings' text conversions. A text that names a
// value must convert back to the same text, ignoring the case of ASCII letters only;
// any other text must give the documented default. The event mask conversions must
// keep every bit that names an event and drop every other one.

#include "serial/ComSettings.h"

#include <QString>
#include <cstdlib>

namespace {

// Equal when only ASCII letters differ in case; every other character must match.
bool equalIgnoringAsciiCase(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x >= u'a' && x <= u'z')
            x = char16_t(x - 32);
        if (y >= u'a' && y <= u'z')
            y = char16_t(y - 32);
        if (x != y)
            return false;
    }
    return true;
}

// One conversion pair over `count` values with `fallback` for unknown text.
template <typename Enum>
void checkRoundTrip(const QString &text, QString (*toText)(Enum), Enum (*fromText)(const QString &), int count,
                    Enum fallback)
{
    int firstMatch = -1;
    for (int i = 0; i < count; ++i) {
        const QString form = toText(Enum(i));
        if (fromText(form) != Enum(i))
            std::abort(); // every value's own text names that value
        if (firstMatch < 0 && equalIgnoringAsciiCase(text, form))
            firstMatch = i;
    }
    const Enum converted = fromText(text);
    if (firstMatch >= 0 ? converted != Enum(firstMatch) : converted != fallback)
        std::abort();
    if (firstMatch >= 0 && !equalIgnoringAsciiCase(toText(converted), text))
        std::abort();
}

constexpr std::uint32_t eventBits = 0x05FF; // bit 0x0200 names no event

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    checkRoundTrip<TBaudRate>(text, BaudRateToText, TextToBaudRate, BaudRateCount, br9600);
    checkRoundTrip<TStopBits>(text, StopBitsToText, TextToStopBits, StopBitsCount, sbOneStopBit);
    checkRoundTrip<TDataBits>(text, DataBitsToText, TextToDataBits, DataBitsCount, dbEight);
    checkRoundTrip<TParityBits>(text, ParityToText, TextToParity, ParityBitsCount, prNone);
    checkRoundTrip<TFlowControl>(text, FlowControlToText, TextToFlowControl, FlowControlCount, fcCustom);

    if (size >= 4) {
        std::uint32_t mask = 0;
        for (int i = 0; i < 4; ++i)
            mask = mask << 8 | data[i];
        if (EventsToMask(MaskToEvents(mask)) != (mask & eventBits))
            std::abort();
        const TComEvents events = TComEvents::fromBits(std::uint16_t(mask & 0x03FF));
        if (MaskToEvents(EventsToMask(events)) != events)
            std::abort();
    }
    return 0;
}
