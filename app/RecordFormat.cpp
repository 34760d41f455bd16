#include "app/RecordFormat.h"

#include <algorithm>
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

namespace {

std::string_view withoutCarriageReturn(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

// All of text as a whole number, or false.
template <typename Number>
bool wholeNumber(std::string_view text, Number &number)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// "-12.345" as microseconds: the sign and magnitude that formatTime writes.
bool parseTime(std::string_view text, std::int64_t &microseconds)
{
    const bool negative = text.starts_with('-');
    if (negative)
        text.remove_prefix(1);
    const std::size_t point = text.find('.');
    const bool hasFraction = point != std::string_view::npos;
    const std::string_view fraction = hasFraction ? text.substr(point + 1) : std::string_view();
    // Unsigned, so that a second sign is refused.
    std::uint64_t seconds = 0;
    std::uint64_t micros = 0;
    if (!wholeNumber(text.substr(0, point), seconds) || seconds >= INT64_MAX / 1000000 || fraction.size() > 6
        || (hasFraction && !wholeNumber(fraction, micros)))
        return false;
    for (std::size_t digits = fraction.size(); digits < 6; ++digits)
        micros *= 10;
    microseconds = static_cast<std::int64_t>(seconds * 1000000 + micros);
    if (negative)
        microseconds = -microseconds;
    return true;
}

} // namespace

bool RecordFormat::isHeader(std::string_view line)
{
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (line.starts_with(byteOrderMark))
        line.remove_prefix(byteOrderMark.size());
    return withoutCarriageReturn(line) == header.substr(0, header.size() - 1);
}

RecordFormat::Line RecordFormat::parseLine(std::string_view line)
{
    line = withoutCarriageReturn(line);
    Line result;
    if (std::count(line.begin(), line.end(), ',') != 2) {
        result.status = Line::wrongFieldCount;
        return result;
    }
    const std::size_t first = line.find(',');
    const std::size_t second = line.find(',', first + 1);
    const std::string_view channel = line.substr(first + 1, second - first - 1);
    if (!parseTime(line.substr(0, first), result.microseconds))
        result.status = Line::badTime;
    else if (channel.size() != 4 || !channel.starts_with("ADC") || channel[3] < '0' || channel[3] > '5')
        result.status = Line::unknownChannel;
    else if (!wholeNumber(line.substr(second + 1), result.value))
        result.status = Line::badValue;
    else
        result.channel = channel[3] - '0';
    return result;
}

std::string_view RecordFormat::problem(Line::Status status)
{
    switch (status) {
    case Line::reading:
        break;
    case Line::wrongFieldCount:
        return "not three fields time_s,channel,value";
    case Line::badTime:
        return "the time is not a number of seconds";
    case Line::unknownChannel:
        return "the channel is not one of ADC0 to ADC5";
    case Line::badValue:
        return "the value is not a whole number within 32 bits";
    }
    return {};
}
