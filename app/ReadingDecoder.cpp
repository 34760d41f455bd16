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
        if (channel < 0 && !isLineEnd(text[i]))
            continue;
        endReading(text.substr(start, i - start), channel);
        start = i + 1;
    }
    keep(text.substr(start));
}

void ReadingDecoder::reset()
{
    m_pending.clear();
    m_overflowed = false;
}

void ReadingDecoder::endReading(std::string_view piece, int channel)
{
    if (!m_pending.empty()) {
        m_pending.append(piece);
        piece = m_pending;
    }
    if (m_overflowed) {
        // Only the tail of an overlong run is left; decoding it would store a number
        // the board never sent.
        ++m_dropped;
    } else if (channel >= 0) {
        if (!decodeReading(piece, channel))
            ++m_dropped;
    } else if (piece.find_first_not_of(" \t") != std::string_view::npos) {
        ++m_dropped; // a line that ended without a tag letter
    }
    reset();
}

void ReadingDecoder::keep(std::string_view rest)
{
    if (m_overflowed)
        return;
    m_pending.append(rest);
    if (m_pending.size() > maxPendingLength) {
        m_pending.clear();
        m_overflowed = true;
    }
}

bool ReadingDecoder::decodeReading(std::string_view text, int channel)
{
    // Blanks between readings belong to no number.
    const std::size_t begin = text.find_first_not_of(" \t");
    text = begin == std::string_view::npos ? std::string_view() : text.substr(begin);
    // The number ends at its first space; what follows up to the tag letter is ignored.
    text = text.substr(0, text.find(' '));

    const auto value = TryStrToInt(text);
    if (!value)
        return false;
    // The product wraps in 32 bits, without signed-overflow undefined behaviour.
    const auto product = std::uint32_t(*value) * std::uint32_t(m_state.multiplier);
    m_state.adcValue[std::size_t(channel)] = std::int32_t(product);
    if (m_sink)
        m_sink->take(channel, std::int32_t(product));
    ++m_decoded;
    return true;
}
