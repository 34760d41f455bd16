#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string_view>

// Text to a signed 32-bit integer, with the one grammar every part of the program
// shares: leading spaces, one optional sign, then decimal digits or a hexadecimal
// number after "$", "x", "X", "0x" or "0X" (at most eight significant digits, taken as
// a 32-bit pattern). Nothing may follow; a NUL ends the text.
std::optional<std::int32_t> TryStrToInt(std::string_view text);
std::optional<std::int32_t> TryStrToInt(const QString &text);

// As above, raising EConvertError "'<text>' is not a valid integer value" on bad text.
std::int32_t StrToInt(const QString &text);
