#include "app/RecordFormat.h"

#include <charconv>
#include <chrono>

namespace {

// Number formatting without locale or allocation: a recording may take a million
// lines a second, and a decimal comma would break the CSV.
char *putInteger(char *at, char *end, std::int64_t value)
{
    return std::to_chars(at, end, value).ptr;
}

} // namespace

void RecordFormat::appendReading(std::string &out, std::int64_t microseconds, int channel, std::int32_t value)
{
    char line[maxLineLength];
    char *const end = line + maxLineLength;
    char *at = line;
    // Floor division, so that a time before the epoch still reads as seconds plus a
    // positive fraction.
    std::int64_t seconds = microseconds / 1000000;
    std::int64_t fraction = microseconds % 1000000;
    if (fraction < 0) {
        seconds -= 1;
        fraction += 1000000;
    }
    at = putInteger(at, end, seconds);
    *at++ = '.';
    for (std::int64_t unit = 100000; unit > 0; unit /= 10)
        *at++ = char('0' + fraction / unit % 10);
    for (char c : std::string_view(",ADC"))
        *at++ = c;
    *at++ = char('0' + channel);
    *at++ = ',';
    at = putInteger(at, end, value);
    *at++ = '\n';
    out.append(line, std::size_t(at - line));
}

std::int64_t RecordFormat::now()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}
