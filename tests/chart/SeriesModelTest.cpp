#include "chart/ColorRunList.h"
#include "chart/LineSeries.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

struct InsertRow
{
    const char *name;
    TChartListOrder order;
    std::vector<double> existing;
    double x;
    int expectedIndex;
};

class OrderedInsertion : public ::testing::TestWithParam<InsertRow>
{
};

TEST_P(OrderedInsertion, PutsThePointWhereItsXBelongs)
{
    const InsertRow &row = GetParam();
    TLineSeries series;
    series.XValues().setOrder(row.order);
    for (double x : row.existing)
        series.AppendPoint(x, x * 10, QString(), clRed);

    EXPECT_EQ(series.AppendPoint(row.x, -1, QStringLiteral("new"), clBlue), row.expectedIndex);

    // Y, colour and label follow X to the same index; the others keep their order.
    ASSERT_EQ(series.PointCount(), int(row.existing.size()) + 1);
    EXPECT_EQ(series.XValues().Value(row.expectedIndex), row.x);
    EXPECT_EQ(series.YValues().Value(row.expectedIndex), -1);
    EXPECT_EQ(series.PointColor(row.expectedIndex), clBlue);
    EXPECT_EQ(series.PointLabel(row.expectedIndex), QStringLiteral("new"));
    for (int i = 0; i < series.PointCount(); ++i) {
        if (i == row.expectedIndex)
            continue;
        EXPECT_EQ(series.YValues().Value(i), series.XValues().Value(i) * 10) << "point " << i;
        EXPECT_EQ(series.PointColor(i), clRed) << "point " << i;
        EXPECT_TRUE(series.PointLabel(i).isEmpty()) << "point " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OrderedInsertion,
    ::testing::Values(InsertRow{"emptySeriesTakesIndex0", loAscending, {}, 7, 0},
                      InsertRow{"betweenTwoValues", loAscending, {0, 10, 20}, 5, 1},
                      InsertRow{"equalToLastGoesToTheEnd", loAscending, {0, 10, 20}, 20, 3},
                      InsertRow{"equalToMiddleGoesAfterAllEqual", loAscending, {0, 10, 10, 10, 20}, 10, 4},
                      InsertRow{"belowAllGoesFirst", loAscending, {0, 10, 20}, -5, 0},
                      InsertRow{"unorderedAlwaysAtTheEnd", loNone, {0, 10, 20}, 5, 3},
                      InsertRow{"descendingBetween", loDescending, {20, 10, 0}, 15, 1},
                      InsertRow{"descendingAboveAllGoesFirst", loDescending, {20, 10, 0}, 30, 0},
                      InsertRow{"descendingEqualGoesAfterEqual", loDescending, {20, 10, 10, 0}, 10, 3}),
    [](const auto &testInfo) { return std::string(testInfo.param.name); });

TEST(SeriesPoints, ClearingEmptiesEverythingAndReleasesStorage)
{
    TLineSeries series;
    for (int i = 0; i < 5000; ++i)
        series.AppendPoint(i, i, i % 2 ? QStringLiteral("odd") : QString(), i % 3 ? clRed : clBlue);
    series.ClearPoints();
    EXPECT_EQ(series.PointCount(), 0);
    EXPECT_EQ(series.YValues().Count(), 0);
    EXPECT_EQ(series.allocatedBytes(), 0u);
    EXPECT_EQ(series.AppendPoint(3, 4, QString(), clLime), 0);
    EXPECT_TRUE(series.PointLabel(0).isEmpty());
    EXPECT_EQ(series.PointColor(0), clLime);
}

TEST(SeriesPoints, HooksCanRefuseAndSeeEveryChange)
{
    TLineSeries series;
    bool allow = false;
    std::vector<int> added;
    int clears = 0;
    series.setOnBeforeAdd([&](TChartSeries &) { return allow; });
    series.setOnAfterAdd([&](TChartSeries &, int index) { added.push_back(index); });
    series.setOnClearValues([&](TChartSeries &) { ++clears; });

    EXPECT_EQ(series.AppendPoint(1, 1, QString(), clRed), -1);
    EXPECT_EQ(series.PointCount(), 0);
    EXPECT_TRUE(added.empty());

    allow = true;
    series.AppendPoint(10, 1, QString(), clRed);
    series.AppendPoint(5, 1, QString(), clRed);
    EXPECT_EQ(added, (std::vector<int>{0, 0}));
    series.ClearPoints();
    series.ClearPoints(); // an empty series is cleared too
    EXPECT_EQ(clears, 2);
}

struct ColorRow
{
    const char *name;
    TColor stored;
    bool colorEachPoint;
    int index;
    TColor expected;
};

class PointColorRule : public ::testing::TestWithParam<ColorRow>
{
};

TEST_P(PointColorRule, ChoosesTheDrawingColour)
{
    const ColorRow &row = GetParam();
    TLineSeries series;
    series.setSeriesColor(0x404080);
    series.setColorEachPoint(row.colorEachPoint);
    for (int i = 0; i < 20; ++i)
        series.AppendPoint(i, 0, QString(), row.stored);
    EXPECT_EQ(series.PointColor(row.index), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PointColorRule,
    ::testing::Values(ColorRow{"ownColourWinsOverSeriesColour", clMaroon, false, 3, clMaroon},
                      ColorRow{"ownColourWinsOverPalette", clTeal, true, 3, clTeal},
                      ColorRow{"defaultTakesSeriesColour", clDefault, false, 3, 0x404080},
                      ColorRow{"defaultTakesPaletteEntry", clDefault, true, 3, clBlue},
                      ColorRow{"paletteWrapsAfterSixteen", clDefault, true, 17, clGreen},
                      ColorRow{"nullStaysNull", clNone, false, 0, clNone},
                      ColorRow{"indexBeyondTheListTakesSeriesColour", clRed, false, 20, 0x404080}),
    [](const auto &testInfo) { return std::string(testInfo.param.name); });

// Inserting into runs of colours must give what a plain list gives.
TEST(ColorRuns, MatchAPlainListUnderRandomInsertions)
{
    std::mt19937 random(12345);
    const TColor palette[] = {clRed, clBlue, clLime};
    ColorRunList runs;
    std::vector<TColor> plain;
    for (int step = 0; step < 3000; ++step) {
        const int index = int(random() % (plain.size() + 1));
        const TColor color = palette[random() % 3];
        runs.insert(index, color);
        plain.insert(plain.begin() + index, color);
    }
    ASSERT_EQ(runs.size(), int(plain.size()));
    ColorRunList::Cursor cursor(runs, 0);
    for (int i = 0; i < runs.size(); ++i) {
        ASSERT_EQ(runs.at(i), plain[std::size_t(i)]) << "index " << i;
        ASSERT_EQ(cursor.at(i), plain[std::size_t(i)]) << "cursor at " << i;
    }
}

TEST(ValueList, StatisticsFollowEveryChange)
{
    TChartValueList list(QStringLiteral("Y"), loNone);
    EXPECT_EQ(list.MinValue(), 0);
    EXPECT_EQ(list.MaxValue(), 0);
    EXPECT_EQ(list.Total(), 0);
    for (double v : {3.0, -4.0, 10.0, 1.0})
        list.insertAt(list.insertPosition(v), v);
    EXPECT_EQ(list.MinValue(), -4);
    EXPECT_EQ(list.MaxValue(), 10);
    EXPECT_EQ(list.Total(), 10);
    EXPECT_EQ(list.TotalABS(), 18);

    list.insertAt(0, -20);
    EXPECT_EQ(list.MinValue(), -20);
    list.setMultiplier(2);
    EXPECT_EQ(list.MaxValue(), 20);
    EXPECT_EQ(list.Value(1), 6);
    list.Clear();
    EXPECT_EQ(list.MaxValue(), 0);
}

// Values appended at the end after a read are taken into the statistics one by one; the
// figures must be exactly those of a pass over the whole list (same order of additions).
TEST(ValueList, StatisticsTakenInAtTheEndEqualAWholePass)
{
    TChartValueList growing(QStringLiteral("Y"), loNone);
    growing.setMultiplier(0.1);
    std::vector<double> stored;
    std::mt19937 random(5);
    for (int i = 0; i < 3000; ++i) {
        stored.push_back(std::uniform_real_distribution<double>(-1e6, 1e6)(random));
        growing.insertAt(growing.Count(), stored.back());
        if (i % 7 == 0)
            (void)growing.Total(); // a read: the appends after it go in one at a time
    }
    TChartValueList whole(QStringLiteral("Y"), loNone);
    whole.setMultiplier(0.1);
    for (double v : stored)
        whole.insertAt(whole.Count(), v);
    EXPECT_EQ(growing.MinValue(), whole.MinValue());
    EXPECT_EQ(growing.MaxValue(), whole.MaxValue());
    EXPECT_EQ(growing.Total(), whole.Total());
    EXPECT_EQ(growing.TotalABS(), whole.TotalABS());
}

} // namespace
