#include "chart/ChartLegend.h"
#include "chart/LegendException.h"
#include "chart/LegendGeometry.h"
#include "chart/LineSeries.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

// The form's chart: bounds 825 x 249, plotting rectangle less margins 25, 10 .. 800, 239.
LegendGeometry::Input formInput(std::vector<int> widths)
{
    LegendGeometry::Input input;
    input.boundsTop = 0;
    input.boundsHeight = 249;
    input.plotLeft = 25;
    input.plotRight = 800;
    input.plotBottom = 239;
    input.topPos = 11;
    input.rowHeight = 15;
    input.frameWidth = 1;
    input.colorWidth = 20;
    input.textWidths = std::move(widths);
    return input;
}

struct GeometryRow
{
    const char *name;
    std::function<LegendGeometry::Input()> input;
    LegendGeometry expected;
};

class LegendLayout : public ::testing::TestWithParam<GeometryRow>
{
};

TEST_P(LegendLayout, PlacesBoxRowsAndColumns)
{
    const LegendGeometry g = LegendGeometry::layOut(GetParam().input());
    const LegendGeometry &e = GetParam().expected;
    EXPECT_EQ(g.top, e.top);
    EXPECT_EQ(g.rows, e.rows);
    EXPECT_EQ(g.textWidth, e.textWidth);
    EXPECT_EQ(g.left, e.left);
    EXPECT_EQ(g.colorBoxWidth, e.colorBoxWidth);
    EXPECT_EQ(g.textLeft, e.textLeft);
    EXPECT_EQ(g.right, e.right);
    EXPECT_EQ(g.bottom, e.bottom);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LegendLayout,
    ::testing::Values(
        // top, rows, W, L, C, X, right, bottom
        GeometryRow{"allSeriesEmpty", [] { return formInput({0, 0, 0, 0, 0, 0}); },
                    {27, 6, 0, 27, 2, 37, 39, 119}},
        GeometryRow{"widestOfSixValues", [] { return formInput({20, 45, 0, 30, 0, 0}); },
                    {27, 6, 45, 27, 11, 46, 93, 119}},
        GeometryRow{"shortChartShowsTheRowsThatFit",
                    [] {
                        auto input = formInput({10, 10, 10, 10, 10, 60});
                        input.plotBottom = 100; // (100 - 2 - 27) / 15 = 4 rows
                        return input;
                    },
                    {27, 4, 10, 27, 4, 39, 51, 89}},
        GeometryRow{"topBelowThePlotShowsNothing",
                    [] {
                        auto input = formInput({10});
                        input.topPos = 100;
                        return input;
                    },
                    {249, 0, 0, 27, 2, 37, 39, 251}},
        GeometryRow{"noFrameStartsAtThePlotEdge",
                    [] {
                        auto input = formInput({0});
                        input.frameVisible = false;
                        return input;
                    },
                    {27, 1, 0, 25, 2, 35, 37, 44}},
        GeometryRow{"rightAlignedEndsInsideThePlotEdge", [] {
                        auto input = formInput({40});
                        input.alignRight = true;
                        return input;
                    },
                    {27, 1, 40, 738, 10, 756, 798, 44}}),
    [](const auto &testInfo) { return std::string(testInfo.param.name); });

struct SetterRow
{
    const char *name;
    std::function<void(TChartLegend &)> set;
    const char *message;
};

class LegendSetters : public ::testing::TestWithParam<SetterRow>
{
};

TEST_P(LegendSetters, RefuseOutOfRangeValuesAndKeepTheOld)
{
    TChartLegend legend(nullptr);
    try {
        GetParam().set(legend);
        FAIL() << "no error";
    } catch (const LegendException &error) {
        EXPECT_EQ(error.message(), QString::fromUtf8(GetParam().message));
    }
    EXPECT_EQ(legend.TopPos(), 10);
    EXPECT_EQ(legend.ColorWidth(), 12);
    EXPECT_EQ(legend.FirstValue(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LegendSetters,
    ::testing::Values(SetterRow{"topPosAbove100", [](TChartLegend &l) { l.setTopPos(101); },
                                "Top Legend Position must be between 0 and 100 %"},
                      SetterRow{"topPosNegative", [](TChartLegend &l) { l.setTopPos(-1); },
                                "Top Legend Position must be between 0 and 100 %"},
                      SetterRow{"colorWidthAbove100", [](TChartLegend &l) { l.setColorWidth(101); },
                                "Legend Color Width must be between 0 and 100 %"},
                      SetterRow{"colorWidthNegative", [](TChartLegend &l) { l.setColorWidth(-5); },
                                "Legend Color Width must be between 0 and 100 %"},
                      SetterRow{"firstValueNegative", [](TChartLegend &l) { l.setFirstValue(-1); },
                                "First Legend Value must be > 0"}),
    [](const auto &testInfo) { return std::string(testInfo.param.name); });

TEST(LegendRows, ShowTheLastValueOfEachSeries)
{
    TChartLegend legend(nullptr);
    legend.setLegendStyle(lsLastValues);
    TLineSeries empty, reading, negative, large, labelled, hidden;
    reading.AppendPoint(0, 100, QString(), clBlack);
    reading.AppendPoint(10, 512, QString(), clBlack);
    negative.AppendPoint(0, -10, QString(), clRed);
    large.AppendPoint(0, 1234.5, QString(), clRed);
    labelled.AppendPoint(0, 7, QStringLiteral("two\nlines"), clRed);
    hidden.AppendPoint(0, 1, QString(), clRed);
    hidden.setShowInLegend(false);

    const auto rows = legend.rows({&empty, &reading, &negative, &large, &labelled, &hidden});
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].text, QString());
    EXPECT_EQ(rows[1].text, QStringLiteral(" 512"));
    EXPECT_EQ(rows[2].text, QStringLiteral(" -10"));
    EXPECT_EQ(rows[3].text, QStringLiteral(" 1,234.5"));
    EXPECT_EQ(rows[4].text, QStringLiteral("two lines 7"));
    EXPECT_EQ(rows[1].series, &reading);

    legend.setFirstValue(3);
    const auto later = legend.rows({&empty, &reading, &negative, &large, &labelled});
    ASSERT_EQ(later.size(), 2u);
    EXPECT_EQ(later[0].series, &large);
}

TEST(LegendRows, AutomaticStyleDependsOnTheActiveSeries)
{
    TChartLegend legend(nullptr);
    EXPECT_EQ(legend.resolvedStyle(1), lsValues);
    EXPECT_EQ(legend.resolvedStyle(2), lsSeries);
    legend.setLegendStyle(lsLastValues);
    EXPECT_EQ(legend.resolvedStyle(1), lsLastValues);
}

} // namespace
