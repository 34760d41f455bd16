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

    // The longest line: a 21-character time, an 11-character value.
    static constexpr std::size_t maxLineLength = 48;

    // Replaces text by the time column for microseconds since the Unix epoch. Every
    // reading of a delivery has the same time, so it is formatted once per delivery.
    static void formatTime(std::string &text, std::int64_t microseconds);

    // Appends one line with a time from formatTime.
    static void appendReading(std::string &out, std::string_view time, int channel, std::int32_t value);

    // Now, in microseconds since the Unix epoch.
    static std::int64_t now();
};
