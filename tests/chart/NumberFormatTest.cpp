#include "runtime/NumberFormat.h"

#include <gtest/gtest.h>

namespace {

struct FormatRow
{
    const char *name;
    double value;
    const char *expected;
};

class NumberFormatTest : public ::testing::TestWithParam<FormatRow>
{
};

TEST_P(NumberFormatTest, WritesThePicture)
{
    const NumberFormat::Separators english{QStringLiteral(","), QStringLiteral(".")};
    EXPECT_EQ(NumberFormat::formatValue(GetParam().value, english), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Values, NumberFormatTest,
    ::testing::Values(FormatRow{"zero", 0, "0"}, FormatRow{"reading", 512, "512"},
                      FormatRow{"negativeWithoutGrouping", -10, "-10"}, FormatRow{"thousandGrouped", 1000, "1,000"},
                      FormatRow{"millionsGroupedWithDecimals", 1234567.891, "1,234,567.891"},
                      FormatRow{"trailingZeroDecimalsDropped", 1.5, "1.5"},
                      FormatRow{"roundedToThreeDecimals", 2.71828, "2.718"},
                      FormatRow{"roundsUpIntoIntegerPart", 999.9996, "1,000"},
                      FormatRow{"belowHalfThousandthIsZero", 0.0004, "0"},
                      FormatRow{"negativeRoundingToZeroHasNoSign", -0.0004, "0"},
                      FormatRow{"negativeFraction", -0.25, "-0.25"},
                      FormatRow{"negativeGrouped", -12345.5, "-12,345.5"}),
    [](const auto &testInfo) { return std::string(testInfo.param.name); });

TEST(NumberFormat, UsesTheGivenSeparators)
{
    const NumberFormat::Separators german{QStringLiteral("."), QStringLiteral(",")};
    EXPECT_EQ(NumberFormat::formatValue(1234567.25, german), QStringLiteral("1.234.567,25"));
    const NumberFormat::Separators noGrouping{QString(), QStringLiteral(",")};
    EXPECT_EQ(NumberFormat::formatValue(-1234.5, noGrouping), QStringLiteral("-1234,5"));
}

} // namespace
