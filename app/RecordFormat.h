#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The text of a recording: a CSV file that a spreadsheet, pandas or R reads as it is.
// One line per reading, "time_s,channel,value", the time in seconds since the Unix
// epoch with six decimals, the channel as ADC0 .. ADC5, the value already multiplied.
class RecordFormat
{
public:
    static constexpr std::string_view header = "time_s,channel,value\n";

    // The longest line appendReading writes (a 20-character time before the point, an
    // 11-character value), so that a buffer can be sized once.
    static constexpr std::size_t maxLineLength = 48;

    // Appends one line. microseconds counts from the Unix epoch.
    static void appendReading(std::string &out, std::int64_t microseconds, int channel, std::int32_t value);

    // The time a delivery reaches the decoder, in microseconds since the Unix epoch.
    static std::int64_t now();
};
