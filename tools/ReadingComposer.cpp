#include "ReadingComposer.h"

#include <cctype>

ReadingComposer::ReadingComposer(int garbagePercent, bool crlf, std::mt19937 &random)
    : m_garbagePercent(garbagePercent), m_crlf(crlf), m_random(random)
{
}

char ReadingComposer::tagLetter(int channel)
{
    return channel == 5 ? 'a' : static_cast<char>('b' + channel);
}

std::string ReadingComposer::reading(int channel, int value)
{
    const bool spoilt = m_garbagePercent > 0
                        && std::uniform_int_distribution<int>(0, 99)(m_random) < m_garbagePercent;
    std::string text;
    if (!spoilt) {
        appendReading(text, channel, value, m_crlf);
        return text;
    }
    text = malformed(tagLetter(channel), value);
    if (m_crlf)
        text += "\r\n";
    return text;
}

void ReadingComposer::appendReading(std::string &text, int channel, std::int32_t value, bool crlf)
{
    text += std::to_string(value);
    text += tagLetter(channel);
    if (crlf)
        text += "\r\n";
}

std::string ReadingComposer::malformed(char tag, int value)
{
    std::string number = std::to_string(value);
    switch (std::uniform_int_distribution<int>(0, 4)(m_random)) {
    case 0: // a stray letter inside the number, like "12x4d"
        return number + 'x' + std::to_string(value % 10) + tag;
    case 1: // the tag alone
        return std::string(1, tag);
    case 2: // a number far outside 32 bits
        return "99999999999" + number + tag;
    case 3: // an upper-case letter, which names no channel
        return number + static_cast<char>(std::toupper(static_cast<unsigned char>(tag)));
    default: // the tag lost
        return number;
    }
}
