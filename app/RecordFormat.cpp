#include "app/RecordFormat.h"

#include <charconv>
#include <chrono>

void RecordFormat::appendReading(std::string &out, std::int64_t microseconds, int channel, std::int32_t value)
{
    // No locale and no allocation: a recording may take a million lines a second, and
    // a decimal comma would break the CSV.
    char line[maxLineLength];
    char *const end = line + maxLineLength;
    char *at = line;
    // Sign and magnitude, so that a time before the epoch reads right too.
    if (microseconds < 0)
        *at++ = '-';
    const std::uint64_t magnitude = microseconds < 0 ? 0 - std::uint64_t(microseconds) : std::uint64_t(microseconds);
    const std::uint64_t fraction = magnitude % 1000000;
    at = std::to_chars(at, end, magnitude / 1000000).ptr;
    *at++ = '.';
    for (std::uint64_t unit = 100000; unit > 0; unit /= 10)
        *at++ = char('0' + fraction / unit % 10);
    for (char c : std::string_view(",ADC"))
        *at++ = c;
    *at++ = char('0' + channel);
    *at++ = ',';
    at = std::to_chars(at, end, value).ptr;
    *at++ = '\n';
    out.append(line, std::size_t(at - line));
}

std::int64_t RecordFormat::now()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}
