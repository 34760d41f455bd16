#include "app/RecordFormat.h"

#include <charconv>
#include <chrono>

// No locale and no allocation once the strings have grown: a recording may take a
// million lines a second, and a decimal comma would break the CSV.

void RecordFormat::formatTime(std::string &text, std::int64_t microseconds)
{
    char digits[24];
    char *at = digits;
    // Sign and magnitude, so that a time before the epoch reads right too.
    if (microseconds < 0)
        *at++ = '-';
    const std::uint64_t magnitude = microseconds < 0 ? 0 - std::uint64_t(microseconds) : std::uint64_t(microseconds);
    at = std::to_chars(at, std::end(digits), magnitude / 1000000).ptr;
    *at++ = '.';
    const std::uint64_t fraction = magnitude % 1000000;
    for (std::uint64_t unit = 100000; unit > 0; unit /= 10)
        *at++ = char('0' + fraction / unit % 10);
    text.assign(digits, at);
}

void RecordFormat::appendReading(std::string &out, std::string_view time, int channel, std::int32_t value)
{
    char rest[24] = {',', 'A', 'D', 'C', char('0' + channel), ','};
    char *at = std::to_chars(rest + 6, std::end(rest), value).ptr;
    *at++ = '\n';
    out.append(time);
    out.append(rest, at);
}

std::int64_t RecordFormat::now()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}
