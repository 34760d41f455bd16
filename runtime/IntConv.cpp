#include "runtime/IntConv.h"

#include "runtime/Exception.h"
#include "runtime/Translation.h"

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Length of the hexadecimal prefix at the start of text, 0 when there is none.
std::size_t hexPrefixLength(std::string_view text)
{
    if (text.starts_with("0x") || text.starts_with("0X"))
        return 2;
    if (!text.empty() && (text[0] == '$' || text[0] == 'x' || text[0] == 'X'))
        return 1;
    return 0;
}

std::optional<std::uint32_t> parseHex(std::string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        const int d = hexDigit(c);
        if (d < 0)
            return std::nullopt;
        value = value * 16 + std::uint64_t(d);
        if (value > 0xFFFFFFFFu) // a ninth significant digit
            return std::nullopt;
    }
    return std::uint32_t(value);
}

std::optional<std::uint64_t> parseDecimal(std::string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + std::uint64_t(c - '0');
        if (value > 0x80000000u)
            return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<std::int32_t> TryStrToInt(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (const std::size_t prefix = hexPrefixLength(text)) {
        const auto pattern = parseHex(text.substr(prefix));
        if (!pattern)
            return std::nullopt;
        // Negation works on the 32-bit pattern, so "-$80000000" stays -2147483648.
        const std::uint32_t bits = negative ? 0u - *pattern : *pattern;
        return std::int32_t(bits);
    }
    const auto magnitude = parseDecimal(text);
    if (!magnitude || (*magnitude == 0x80000000u && !negative))
        return std::nullopt;
    return negative ? std::int32_t(0u - std::uint32_t(*magnitude)) : std::int32_t(*magnitude);
}

std::optional<std::int32_t> TryStrToInt(const QString &text)
{
    // Any character outside Latin-1 is invalid anyway; the '?' it becomes keeps it so.
    const QByteArray latin1 = text.toLatin1();
    return TryStrToInt(std::string_view(latin1.constData(), std::size_t(latin1.size())));
}

std::int32_t StrToInt(const QString &text)
{
    if (const auto value = TryStrToInt(text))
        return *value;
    throw EConvertError(Translation::frameworkText("'%1' is not a valid integer value").arg(text));
}
