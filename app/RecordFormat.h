#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The text of a recording: a CSV file that a spreadsheet, pandas or R reads as it is.
// One line per reading, "time_s,channel,value", the time in seconds since the Unix
// epoch with six decimals, the channel as ADC0 .. ADC5, the value already multiplied.
// Plain C++ without Qt, so that the board simulator reads what Ondrix writes with the
// same rules.
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

    // One line read back, without its line end.
    struct Line
    {
        enum Status { reading, wrongFieldCount, badTime, unknownChannel, badValue };
        Status status = reading;
        std::int64_t microseconds = 0;
        int channel = 0;
        std::int32_t value = 0;
    };

    // True for the first line of a recording. A spreadsheet that saved the file again may
    // have put a byte-order mark in front and CR LF line ends; both are taken.
    static bool isHeader(std::string_view line);

    // Reads one line after the header. A time may have fewer than six decimals, as a
    // spreadsheet writes it; a CR before the line end is taken.
    static Line parseLine(std::string_view line);

    // What is wrong with a line that is not a reading, for a message.
    static std::string_view problem(Line::Status status);
};
