#include "app/ReadingDecoder.h"

#include "runtime/IntConv.h"

ReadingDecoder::ReadingDecoder(AcquisitionState &state) : m_state(state)
{
    m_pending.reserve(maxPendingLength + 1);
}

int ReadingDecoder::channelOfTag(char tag)
{
    // "a" names the last channel, ADC5; "b" to "f" name ADC0 to ADC4.
    if (tag == 'a')
        return 5;
    if (tag >= 'b' && tag <= 'f')
        return tag - 'b';
    return -1;
}

void ReadingDecoder::decode(std::string_view text)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int channel = channelOfTag(text[i]);
        if (channel < 0)
            continue;
        const std::string_view piece = text.substr(start, i - start);
        if (m_pending.empty()) {
            decodeReading(piece, channel);
        } else {
            m_pending.append(piece);
            decodeReading(m_pending, channel);
            m_pending.clear();
        }
        start = i + 1;
    }
    m_pending.append(text.substr(start));
    if (m_pending.size() > maxPendingLength)
        m_pending.clear();
}

void ReadingDecoder::reset()
{
    m_pending.clear();
}

void ReadingDecoder::decodeReading(std::string_view text, int channel)
{
    // Line ends and blanks between readings belong to no number.
    const std::size_t begin = text.find_first_not_of(" \r\n\t");
    text = begin == std::string_view::npos ? std::string_view() : text.substr(begin);
    // The number ends at its first space; what follows up to the tag letter is ignored.
    text = text.substr(0, text.find(' '));

    const auto value = TryStrToInt(text);
    if (!value) {
        ++m_dropped;
        return;
    }
    // The product wraps in 32 bits, without signed-overflow undefined behaviour.
    const auto product = std::uint32_t(*value) * std::uint32_t(m_state.multiplier);
    m_state.adcValue[std::size_t(channel)] = std::int32_t(product);
    if (m_sink)
        m_sink->take(channel, std::int32_t(product));
}
