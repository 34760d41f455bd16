#include "FormChart.h"
#include "chart/LineSegmentSink.h"
#include "chart/LineSeries.h"
#include "chart/SeriesView.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

struct Segment
{
    QPoint from;
    QPoint to;
    TColor color;
    bool operator==(const Segment &other) const = default;
};

std::ostream &operator<<(std::ostream &out, const Segment &s)
{
    return out << "(" << s.from.x() << "," << s.from.y() << ")->(" << s.to.x() << "," << s.to.y() << ") colour "
               << std::hex << s.color << std::dec;
}

class Recorder : public LineSegmentSink
{
public:
    void segment(QPoint from, QPoint to, TColor color) override { segments.push_back({from, to, color}); }
    std::vector<Segment> segments;
};

// Values 0 .. 100 on pixels 0 .. 100 both ways: x = X, y = 100 - Y.
SeriesView unitView()
{
    SeriesView view;
    view.horizontal = AxisMapping(0, 100, 0, 100, true, false);
    view.vertical = AxisMapping(0, 100, 0, 100, false, false);
    view.plot = {0, 0, 100, 100};
    return view;
}

struct Point
{
    double x;
    double y;
    TColor color;
};

struct WalkRow
{
    const char *name;
    std::vector<Point> points;
    std::vector<Segment> expected;
};

class LineWalk : public ::testing::TestWithParam<WalkRow>
{
};

TEST_P(LineWalk, GivesTheSegmentsToDraw)
{
    TLineSeries series;
    series.setSeriesColor(clGreen);
    for (const Point &p : GetParam().points)
        series.AppendPoint(p.x, p.y, QString(), p.color);
    Recorder recorder;
    series.walkLine(unitView(), recorder);
    EXPECT_EQ(recorder.segments, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LineWalk,
    ::testing::Values(
        WalkRow{"onePointDrawsNoLine", {{10, 10, clRed}}, {}},
        WalkRow{"segmentTakesTheColourOfItsEndPoint",
                {{10, 10, clRed}, {20, 30, clBlue}, {30, 30, clRed}},
                {{{10, 90}, {20, 70}, clBlue}, {{20, 70}, {30, 70}, clRed}}},
        WalkRow{"defaultColourIsTheSeriesColour", {{10, 10, clRed}, {20, 20, clDefault}}, {{{10, 90}, {20, 80}, clGreen}}},
        WalkRow{"farPointIsSkippedAndItsNeighboursJoined",
                {{10, 10, clRed}, {20, 1e9, clRed}, {30, 10, clRed}},
                {{{10, 90}, {30, 90}, clRed}}},
        WalkRow{"nullPointBreaksTheLineOnBothSides",
                {{10, 10, clRed}, {20, 50, clNone}, {30, 10, clRed}, {40, 20, clRed}},
                {{{30, 90}, {40, 80}, clRed}}},
        WalkRow{"samePixelTwiceDrawsNothing", {{10, 10, clRed}, {10.2, 10, clRed}}, {}},
        WalkRow{"startsAtTheLeftEdgeInterpolated",
                {{-20, 0, clRed}, {-10, 40, clRed}, {10, 60, clBlue}, {20, 60, clRed}},
                {{{0, 50}, {10, 40}, clBlue}, {{10, 40}, {20, 40}, clRed}}},
        WalkRow{"noEdgeSegmentAfterANullPoint", {{-10, 40, clNone}, {10, 60, clBlue}, {20, 60, clRed}},
                {{{10, 40}, {20, 40}, clRed}}},
        WalkRow{"oneBeyondTheRightEdgeThenStop",
                {{90, 0, clRed}, {110, 20, clRed}, {120, 40, clRed}},
                {{{90, 100}, {110, 80}, clRed}}},
        WalkRow{"allLeftOfTheEdgeDrawsNothing", {{-30, 0, clRed}, {-20, 20, clRed}}, {}},
        WalkRow{"skippedFirstPointStartsAtTheNext",
                {{-10, 0, clRed}, {10, 1e9, clRed}, {20, 10, clRed}, {30, 20, clRed}},
                {{{20, 90}, {30, 80}, clRed}}}),
    [](const auto &testInfo) { return std::string(testInfo.param.name); });

TEST(LineWalk, UnorderedSeriesDrawsEveryPointInListOrder)
{
    TLineSeries series;
    series.XValues().setOrder(loNone);
    series.AppendPoint(50, 0, QString(), clRed);
    series.AppendPoint(-10, 0, QString(), clRed);
    series.AppendPoint(20, 0, QString(), clRed);
    Recorder recorder;
    series.walkLine(unitView(), recorder);
    const std::vector<Segment> expected = {{{50, 100}, {-10, 100}, clRed}, {{-10, 100}, {20, 100}, clRed}};
    EXPECT_EQ(recorder.segments, expected);
}

struct DenseRow
{
    const char *name;
    double xMaximum;
    double xStep;
    bool inverted;
};

class ReducedDrawing : public ::testing::TestWithParam<DenseRow>
{
};

// A whole sweep of noisy readings per channel, with colour changes and null points in
// one of them: the reduced drawing must look like one line call per segment.
TEST_P(ReducedDrawing, MatchesTheNaivePictureOnDenseData)
{
    const DenseRow &row = GetParam();
    FormChart form;
    form.chart.BottomAxis().setMaximum(row.xMaximum);
    form.chart.BottomAxis().setInverted(row.inverted);
    form.chart.LeftAxis().setInverted(row.inverted);
    std::mt19937 random(7);
    const TColor colors[] = {clBlack, clRed, clLime, clMaroon, clTeal, clBlue};
    const int points = int(row.xMaximum / row.xStep) + 1;
    for (int c = 0; c < 6; ++c) {
        double level = 150.0 * (c + 1);
        for (int i = 0; i < points; ++i) {
            level = std::clamp(level + double(int(random() % 21) - 10), 0.0, 1150.0);
            TColor color = colors[c];
            if (c == 5 && (i / 7000) % 2 == 1)
                color = clFuchsia;
            if (c == 5 && i % 9973 == 0)
                color = clNone;
            form.series[std::size_t(c)]->AppendPoint(i * row.xStep, level, QString(), color);
        }
    }
    const QImage reduced = form.render();
    form.chart.setLineReduction(false);
    const QImage naive = form.render();

    const QRect plotArea(130, 20, 660, 200);
    EXPECT_GT(pixelsOfColor(naive, plotArea, clFuchsia), 500);
    EXPECT_GT(pixelsOfColor(naive, plotArea, clMaroon), 500);
    const int different = differingPixels(reduced, naive);
    RecordProperty("differentPixels", different);
    EXPECT_LE(different, 50);
}

// A value too far off to place is drawn at the centre, on any scale; the column that
// holds it must still reach the values above and below the centre.
TEST(ReducedDrawing, MatchesThePlainOneWithAValueTooFarOffToPlace)
{
    FormChart form;
    form.chart.LeftAxis().SetMinMax(0, 1);
    const double values[] = {0.1, 0.1, 0.1, 0.1, 0.9, 1e12, 0.1, 0.1, 0.1, 0.1};
    for (int i = 0; i < 8000; ++i) // a dozen points a column
        form.series[0]->AppendPoint(i * 0.25, values[i % 10], QString(), clBlack);
    const QImage reduced = form.render();
    form.chart.setLineReduction(false);
    EXPECT_LE(differingPixels(reduced, form.render()), 10);
}

INSTANTIATE_TEST_SUITE_P(Rows, ReducedDrawing,
                         ::testing::Values(DenseRow{"wholeSweepOfTheLongestChart", 100000, 1, false},
                                           DenseRow{"invertedAxes", 100000, 1, true},
                                           DenseRow{"fractionalPositions", 0.3, 0.000003, false}),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });

} // namespace
