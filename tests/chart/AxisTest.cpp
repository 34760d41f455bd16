#include "chart/AxisException.h"
#include "chart/AxisLabels.h"
#include "chart/AxisMapping.h"
#include "chart/Chart.h"
#include "chart/TextWidths.h"

#include <QFontMetrics>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

struct StepRow
{
    const char *name;
    double from;
    double next;
};

class NextStep : public ::testing::TestWithParam<StepRow>
{
};

TEST_P(NextStep, FollowsOneTwoFive)
{
    EXPECT_DOUBLE_EQ(AxisLabels::nextStep(GetParam().from), GetParam().next);
}

INSTANTIATE_TEST_SUITE_P(Rows, NextStep,
                         ::testing::Values(StepRow{"oneToTwo", 1, 2}, StepRow{"twoToFive", 2, 5},
                                           StepRow{"fiveToTen", 5, 10}, StepRow{"tenToTwenty", 10, 20},
                                           StepRow{"fiftyToHundred", 50, 100}, StepRow{"twoHundredToFiveHundred", 200, 500},
                                           StepRow{"betweenStepsRoundsUp", 3, 5}, StepRow{"halfToOne", 0.5, 1},
                                           StepRow{"tenthToFifth", 0.1, 0.2}),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });

struct IncrementRow
{
    const char *name;
    int axisSize;
    int labelSize;
    int separation;
    double range;
    double configured;
    double expected;
};

class LabelIncrement : public ::testing::TestWithParam<IncrementRow>
{
};

TEST_P(LabelIncrement, IsTheFirstStepThatFits)
{
    const IncrementRow &row = GetParam();
    const int n = AxisLabels::maxLabelCount(row.axisSize, row.labelSize, row.separation);
    EXPECT_DOUBLE_EQ(AxisLabels::increment(row.range, n, row.configured, row.separation), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LabelIncrement,
    ::testing::Values(
        // 184 pixels, labels 14 high, 10 %: p = 15, n = 12; 1210 / 100 rounds to 12.
        IncrementRow{"workedExampleTwelveLabels", 184, 14, 10, 1210, 0, 100},
        // Room for three labels: 1 -> 2 -> 5 -> ... -> 200 -> 500.
        IncrementRow{"threeLabelsGive500", 45, 14, 10, 1210, 0, 500},
        IncrementRow{"configuredIncrementRaisedAlongTheSteps", 45, 14, 10, 1210, 300, 500},
        IncrementRow{"configuredIncrementKeptWhenItFits", 184, 14, 10, 1210, 150, 150},
        IncrementRow{"configuredFractionKeptWhenItFits", 184, 14, 10, 5, 0.5, 0.5},
        IncrementRow{"rangeBelowOneStartsTiny", 200, 14, 10, 0.5, 0, 0.05},
        IncrementRow{"noSeparationKeepsTheStart", 184, 14, 0, 1210, 0, 1},
        IncrementRow{"noRoomForALabel", 5, 14, 10, 1210, 0, 1e-12},
        IncrementRow{"wideLabelsOnAWideAxis", 671, 33, 10, 2000, 0, 200}),
    [](const auto &testInfo) { return std::string(testInfo.param.name); });

TEST(LabelCount, HandlesEmptyLabelsAndSeparation)
{
    EXPECT_EQ(AxisLabels::maxLabelCount(184, 14, 10), 12);
    EXPECT_EQ(AxisLabels::maxLabelCount(184, 14, 0), 13);
    EXPECT_EQ(AxisLabels::maxLabelCount(184, 0, 10), 1);
}

struct ValuesRow
{
    const char *name;
    double minimum;
    double maximum;
    double increment;
    bool roundFirst;
    std::vector<double> expected;
};

class LabelValues : public ::testing::TestWithParam<ValuesRow>
{
};

TEST_P(LabelValues, RunFromTheTopDown)
{
    const ValuesRow &row = GetParam();
    const std::vector<double> values = AxisLabels::values(row.minimum, row.maximum, row.increment, row.roundFirst);
    ASSERT_EQ(values.size(), row.expected.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_DOUBLE_EQ(values[i], row.expected[i]) << "label " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LabelValues,
    ::testing::Values(ValuesRow{"threeLabelsNoneAtMinusTen", -10, 1200, 500, true, {1000, 500, 0}},
                      ValuesRow{"hundredsDownToZero", -10, 1200, 100, true,
                                {1200, 1100, 1000, 900, 800, 700, 600, 500, 400, 300, 200, 100, 0}},
                      ValuesRow{"unroundedStartAtTheMaximum", -10, 1200, 500, false, {1200, 700, 200}},
                      ValuesRow{"equalEndsGiveOneLabel", 5, 5, 1, true, {5}},
                      ValuesRow{"tooManyLabelsGiveNone", 0, 10000, 1, true, {}},
                      ValuesRow{"maximumBelowMinimumGivesNone", 10, 0, 1, true, {}},
                      ValuesRow{"negativeMaximumTruncatesTowardsZero", -1000, -150, 100, true,
                                {-200, -300, -400, -500, -600, -700, -800, -900}}),
    [](const auto &testInfo) { return std::string(testInfo.param.name); });

struct PixelRow
{
    const char *name;
    AxisMapping map;
    double value;
    int pixel;
};

class ValueToPixel : public ::testing::TestWithParam<PixelRow>
{
};

TEST_P(ValueToPixel, MapsAlongTheAxis)
{
    EXPECT_EQ(GetParam().map.toPixel(GetParam().value), GetParam().pixel);
}

// The form's left axis on a 229-pixel plotting height from y = 10: 2 % .. 99 % gives
// pixels 15 .. 237.
const AxisMapping leftBand = AxisMapping::along(10, 229, 2, 99, -10, 1200, false, false);
const AxisMapping bottomAxis = AxisMapping::along(129, 671, 0, 100, 0, 2000, true, false);

INSTANTIATE_TEST_SUITE_P(
    Rows, ValueToPixel,
    ::testing::Values(PixelRow{"verticalMinimumAtTheEnd", leftBand, -10, 237},
                      PixelRow{"verticalMaximumAtTheStart", leftBand, 1200, 15},
                      PixelRow{"verticalMiddle", leftBand, 595, 126},
                      PixelRow{"horizontalMinimumAtTheStart", bottomAxis, 0, 129},
                      PixelRow{"horizontalMaximumAtTheEnd", bottomAxis, 2000, 800},
                      PixelRow{"halfPixelTiesToEven", AxisMapping(0, 4, 0, 2, true, false), 1, 0},
                      PixelRow{"invertedHorizontalFromTheEnd", AxisMapping(0, 100, 0, 200, true, true), 25, 150},
                      PixelRow{"invertedVerticalFromTheStart", AxisMapping(0, 100, 0, 200, false, true), 25, 50},
                      PixelRow{"zeroRangeAtTheCentre", AxisMapping(5, 5, 10, 31, false, false), 123, 20},
                      PixelRow{"farValueAtTheCentre", AxisMapping(0, 1, 0, 100, true, false), 1e12, 50},
                      PixelRow{"farButRepresentableKept", leftBand, -1e6, 183706}),
    [](const auto &testInfo) { return std::string(testInfo.param.name); });

// Labels are measured through a cache; a change of font must not bring back the widths
// measured in the one before.
TEST(LabelWidths, AreThoseOfTheFontAsked)
{
    TextWidths widths;
    QFont small, large;
    small.setPointSize(8);
    large.setPointSize(20);
    for (const QFont &font : {small, large, small})
        EXPECT_EQ(widths.of(font, QStringLiteral("1150")), QFontMetrics(font).horizontalAdvance(QStringLiteral("1150")))
            << font.pointSize() << " pt";
}

TEST(PixelToValue, InvertsTheMapOnBothKindsOfAxis)
{
    EXPECT_DOUBLE_EQ(bottomAxis.toValue(129), 0);
    EXPECT_DOUBLE_EQ(bottomAxis.toValue(800), 2000);
    EXPECT_DOUBLE_EQ(leftBand.toValue(15), 1200);
    EXPECT_DOUBLE_EQ(leftBand.toValue(237), -10);
    EXPECT_DOUBLE_EQ(AxisMapping(0, 100, 0, 200, true, true).toValue(150), 25);
    EXPECT_DOUBLE_EQ(AxisMapping(0, 100, 0, 200, false, true).toValue(50), 25);
    EXPECT_DOUBLE_EQ(AxisMapping(0, 100, 7, 7, true, false).toValue(7), 0);
}

TEST(AxisRange, RejectsCrossingValuesAndKeepsTheOldOne)
{
    TChart chart;
    TChartAxis &left = chart.LeftAxis();
    left.setMaximum(1200);
    left.setMinimum(-10);
    chart.BottomAxis().setMaximum(10);
    EXPECT_EQ(chart.BottomAxis().Maximum(), 10);

    try {
        left.setMaximum(-20);
        FAIL() << "no error";
    } catch (const AxisException &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Axis Maximum Value must be >= Minimum"));
    }
    EXPECT_EQ(left.Maximum(), 1200);
    try {
        left.setMinimum(1300);
        FAIL() << "no error";
    } catch (const AxisException &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Axis Minimum Value must be <= Maximum"));
    }
    EXPECT_EQ(left.Minimum(), -10);
}

TEST(AxisRange, LoadingSkipsTheChecksAndBothAtOnceOrdersThem)
{
    TChart chart;
    TChartAxis &axis = chart.LeftAxis();
    chart.setLoading(true);
    axis.setMinimum(50); // above the maximum 0 while the form loads
    chart.setLoading(false);
    EXPECT_EQ(axis.Minimum(), 50);

    axis.SetMinMax(30, 10);
    EXPECT_EQ(axis.Minimum(), 10);
    EXPECT_EQ(axis.Maximum(), 30);
    EXPECT_FALSE(axis.Automatic());
    axis.SetMinMax(7, 7);
    EXPECT_DOUBLE_EQ(axis.Maximum(), 7 + 1e-10);
}

TEST(AxisSettings, NegativeIncrementAndSeparationAreRefused)
{
    TChart chart;
    TChartAxis &axis = chart.BottomAxis();
    EXPECT_THROW(
        {
            try {
                axis.setIncrement(-1);
            } catch (const AxisException &error) {
                EXPECT_EQ(error.message(), QStringLiteral("Axis increment must be >= 0"));
                throw;
            }
        },
        AxisException);
    EXPECT_EQ(axis.Increment(), 0);
    EXPECT_THROW(
        {
            try {
                axis.setLabelsSeparation(-1);
            } catch (const AxisException &error) {
                EXPECT_EQ(error.message(), QStringLiteral("Labels Separation % must be greater than 0"));
                throw;
            }
        },
        AxisException);
    EXPECT_EQ(axis.LabelsSeparation(), 10);
}

} // namespace

namespace {

// The quick double estimate must land on the same pixel as the extended-precision rule,
// ties included, over many ranges and values.
TEST(ValueToPixelPrecision, MatchesTheExtendedPrecisionRule)
{
    std::mt19937_64 random(99);
    std::uniform_real_distribution<double> anyValue(-5000, 5000);
    const AxisMapping maps[] = {AxisMapping(0, 100000, 165, 800, true, false), AxisMapping(-10, 1200, 31, 219, false, false),
                                AxisMapping(-10, 3069, 31, 219, false, true), AxisMapping(0.1, 0.3, 0, 7, true, false)};
    for (const AxisMapping &map : maps) {
        for (int i = 0; i < 100000; ++i) {
            // Every other value is a whole number, where exact halves occur.
            const double value = i % 2 ? anyValue(random) : std::round(anyValue(random));
            const double d = double((static_cast<long double>(value) - map.minimum()) * map.size() /
                                    (static_cast<long double>(map.maximum()) - map.minimum()));
            const int offset = int(std::nearbyint(d));
            const int expected = map.horizontal() != map.inverted() ? map.start() + offset : map.end() - offset;
            ASSERT_EQ(map.toPixel(value), expected) << "value " << value;
        }
    }
}

} // namespace
