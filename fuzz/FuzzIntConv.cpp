// Compares the shared text-to-integer conversion with a plain reference written here
// from the grammar alone: the two must agree on every text, the QString form must agree
// with the byte form, and StrToInt must raise exactly where the conversion refuses.

#include "runtime/Exception.h"
#include "runtime/IntConv.h"

#include <QString>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

bool isDecimal(char c)
{
    return c >= '0' && c <= '9';
}

bool isHex(char c)
{
    return isDecimal(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

unsigned hexValue(char c)
{
    if (isDecimal(c))
        return unsigned(c - '0');
    return unsigned((c | 0x20) - 'a' + 10);
}

// Leading zeros carry no value; what is left decides the range.
std::string_view withoutLeadingZeros(std::string_view digits)
{
    while (digits.size() > 1 && digits.front() == '0')
        digits.remove_prefix(1);
    return digits;
}

std::optional<std::int32_t> reference(std::string_view text)
{
    if (const auto nul = text.find('\0'); nul != std::string_view::npos)
        text = text.substr(0, nul);
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }

    std::string_view digits;
    bool hex = true;
    if (text.substr(0, 2) == "0x" || text.substr(0, 2) == "0X")
        digits = text.substr(2);
    else if (!text.empty() && (text.front() == '$' || text.front() == 'x' || text.front() == 'X'))
        digits = text.substr(1);
    else {
        digits = text;
        hex = false;
    }
    if (digits.empty())
        return std::nullopt;
    for (char c : digits) {
        if (!(hex ? isHex(c) : isDecimal(c)))
            return std::nullopt;
    }

    digits = withoutLeadingZeros(digits);
    if (hex) {
        if (digits.size() > 8)
            return std::nullopt;
        std::uint64_t pattern = 0;
        for (char c : digits)
            pattern = pattern * 16 + hexValue(c);
        // The pattern is a signed 32-bit number; a "-" negates it modulo 2^32.
        std::int64_t value = pattern >= 0x80000000u ? std::int64_t(pattern) - 0x100000000 : std::int64_t(pattern);
        if (negative)
            value = value == INT32_MIN ? INT32_MIN : -value;
        return std::int32_t(value);
    }
    if (digits.size() > 10)
        return std::nullopt;
    std::int64_t magnitude = 0;
    for (char c : digits)
        magnitude = magnitude * 10 + (c - '0');
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return std::int32_t(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const auto value = TryStrToInt(text);
    if (value != reference(text))
        std::abort();

    // Every byte is one Latin-1 character, so the QString form sees the same text.
    const QString latin1 = QString::fromLatin1(text.data(), qsizetype(text.size()));
    if (TryStrToInt(latin1) != value)
        std::abort();

    try {
        if (StrToInt(latin1) != value)
            std::abort();
    } catch (const EConvertError &error) {
        if (value || error.message() != QStringLiteral("'%1' is not a valid integer value").arg(latin1))
            std::abort();
    }
    return 0;
}
