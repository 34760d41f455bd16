#include "runtime/Exception.h"
#include "runtime/IntConv.h"

#include <gtest/gtest.h>

namespace {

struct ConversionRow
{
    const char *name;
    std::string_view text;
    std::optional<std::int32_t> expected;
};

using namespace std::string_view_literals;

const ConversionRow conversionRows[] = {
    {"plainDecimal", "512", 512},
    {"leadingSpaces", "   42", 42},
    {"plusSign", "+7", 7},
    {"minusSign", "-7", -7},
    {"smallest", "-2147483648", INT32_MIN},
    {"largest", "2147483647", INT32_MAX},
    {"oneAboveLargest", "2147483648", std::nullopt},
    {"oneBelowSmallest", "-2147483649", std::nullopt},
    {"manyLeadingZeros", "000000000000000000012", 12},
    {"dollarHex", "$3FF", 1023},
    {"lowerCaseHexDigits", "$3ff", 1023},
    {"xPrefix", "x1A", 26},
    {"upperXPrefix", "X1a", 26},
    {"zeroXPrefix", "0x10", 16},
    {"zeroUpperXPrefix", "0X10", 16},
    {"allOnesIsMinusOne", "$FFFFFFFF", -1},
    {"signBitPattern", "$80000000", INT32_MIN},
    {"negatedHex", "-$1", -1},
    {"negatedSignPattern", "-$80000000", INT32_MIN},
    {"eightSignificantWithZeros", "$00000000FFFFFFFF", -1},
    {"nineHexDigits", "$100000000", std::nullopt},
    {"emptyText", "", std::nullopt},
    {"onlySpaces", "   ", std::nullopt},
    {"loneSign", "-", std::nullopt},
    {"twoSigns", "+-1", std::nullopt},
    {"spaceAfterSign", "- 1", std::nullopt},
    {"lonePrefix", "$", std::nullopt},
    {"loneZeroX", "0x", std::nullopt},
    {"trailingSpace", "12 ", std::nullopt},
    {"trailingLetter", "12x4", std::nullopt},
    {"tabIsNotSpace", "\t12", std::nullopt},
    {"lineEndsAreNotSpace", "\r\n512", std::nullopt},
    {"nulEndsText", "12\0garbage"sv, 12},
    {"nulRightAway", "\0"sv, std::nullopt},
    {"hexWithGarbage", "$1G", std::nullopt},
    {"decimalPoint", "1.5", std::nullopt},
};

class IntConvTest : public testing::TestWithParam<ConversionRow>
{
};

TEST_P(IntConvTest, convertsAsTheSharedGrammarSays)
{
    const ConversionRow &row = GetParam();
    EXPECT_EQ(TryStrToInt(row.text), row.expected);
    const QString text = QString::fromLatin1(row.text.data(), qsizetype(row.text.size()));
    EXPECT_EQ(TryStrToInt(text), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, IntConvTest, testing::ValuesIn(conversionRows),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });

TEST(StrToIntTest, failureNamesTheTextInItsMessage)
{
    try {
        StrToInt(QStringLiteral("12x4"));
        FAIL() << "no error raised";
    } catch (const EConvertError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("'12x4' is not a valid integer value"));
    }
    EXPECT_THROW(StrToInt(QString()), EConvertError);
    EXPECT_EQ(StrToInt(QStringLiteral("-$3FF")), -1023);
}

TEST(StrToIntTest, textOutsideLatin1IsInvalid)
{
    EXPECT_EQ(TryStrToInt(QStringLiteral("12я")), std::nullopt);
}

} // namespace
