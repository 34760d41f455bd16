#include "app/ReadingDecoder.h"

#include "runtime/IntConv.h"

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isHexPrefix(char c)
{
    return c == '$' || c == 'x' || c == 'X';
}

// Characters the integer conversion takes anywhere in some number: a NUL ends the text
// for it, and a misplaced sign or a tab still makes one bad reading, as it always did.
bool mayBeInNumber(char c)
{
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '\0' || c == '\t';
}

} // namespace

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
        if (channel >= 0 || isLineEnd(text[i])) {
            endReading(text.substr(start, i - start), channel);
            start = i + 1;
        } else if (!takes(text[i])) {
            dropStray();
            start = i + 1;
        }
    }
    keep(text.substr(start));
}

void ReadingDecoder::reset()
{
    forgetReading();
    m_stretchDropped = false;
}

bool ReadingDecoder::takes(char c)
{
    if (m_part == Part::separated || (m_part == Part::blanks && isBlank(c)))
        return true;
    if (c == ' ') {
        m_part = Part::separated;
        return true;
    }
    if (isHexPrefix(c)) {
        m_part = Part::hexNumber;
        return true;
    }
    if (c >= 'A' && c <= 'F')
        return m_part == Part::hexNumber;
    if (!mayBeInNumber(c))
        return false;
    if (m_part == Part::blanks)
        m_part = Part::number;
    return true;
}

void ReadingDecoder::endReading(std::string_view piece, int channel)
{
    if (!m_pending.empty()) {
        m_pending.append(piece);
        piece = m_pending;
    }
    if (m_overflowed) { // NOLINT(bugprone-branch-clone): each branch drops for its own reason
        // Only the tail of an overlong run is left; decoding it would store a number
        // the board never sent.
        countDropped();
    } else if (channel >= 0) {
        if (!decodeReading(piece, channel))
            countDropped();
    } else if (piece.find_first_not_of(" \t") != std::string_view::npos) {
        countDropped(); // a line that ended without a tag letter
    }
    reset();
}

void ReadingDecoder::dropStray()
{
    // The reading under way cannot become a number any more; the next one starts
    // right after the stray character.
    countDropped();
    forgetReading();
}

void ReadingDecoder::countDropped()
{
    if (!m_stretchDropped)
        ++m_dropped;
    m_stretchDropped = true;
}

void ReadingDecoder::forgetReading()
{
    m_pending.clear();
    m_overflowed = false;
    m_part = Part::blanks;
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
