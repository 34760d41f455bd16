#pragma once

#include <cstdint>
#include <random>
#include <string>

// Turns one reading into the text the board sends for it: the decimal number and the
// channel's tag letter, sometimes replaced by a malformed reading of the kinds a noisy
// line or a confused firmware produces.
class ReadingComposer
{
public:
    ReadingComposer(int garbagePercent, bool crlf, std::mt19937 &random);

    // The tag letter of a channel: "b".."f" for ADC0..ADC4, "a" for ADC5.
    static char tagLetter(int channel);

    std::string reading(int channel, int value);

    // Appends the text a sound board sends for a reading, with CR LF when crlf is set.
    static void appendReading(std::string &text, int channel, std::int32_t value, bool crlf);

private:
    std::string malformed(char tag, int value);

    int m_garbagePercent;
    bool m_crlf;
    std::mt19937 &m_random;
};
