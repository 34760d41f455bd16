#include "FormChart.h"
#include "chart/RepaintBand.h"

#include <QImage>
#include <QPaintEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <random>

namespace {

// What the window shows after a repaint: the chart's paint event into a window-sized image.
void paintWindow(TChart &chart)
{
    QImage window(chart.size(), QImage::Format_RGB32);
    chart.render(&window);
}

// Two charts built alike and fed the same points: `shown` repaints after every tick as the
// window does, `reference` is drawn in one full pass when compared.
class TickRepaint : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (FormChart *form : {&shown, &reference}) {
            form->chart.BottomAxis().setMaximum(600);
            // A dense start, many points per pixel column, so the reduced drawing is used.
            for (int c = 0; c < 6; ++c) {
                for (int i = 0; i < 2000; ++i)
                    form->series[std::size_t(c)]->AppendPoint(i * 0.1, 300 + 100 * c + (i * 37 + c) % 90, QString(), clBlack);
            }
        }
        paintWindow(shown.chart);
    }

    // Point of channel c at tick k: a random walk with points above and below the axis
    // range, beyond the pixel limit, null points and changes of colour.
    void tick(int k)
    {
        for (int c = 0; c < 6; ++c) {
            level[c] = std::clamp(level[c] + int(random() % 61) - 30, 0, 1023);
            double y = level[c];
            TColor color = c == 4 && (k / 10) % 2 ? clRed : TColor(0x208000 + c);
            if (c == 1 && k % 37 == 0)
                y = 5000;
            if (c == 2 && k % 53 == 0)
                y = 1e9;
            if (c == 5 && k % 29 == 0)
                y = -500;
            if (c == 3 && k % 41 == 0)
                color = clNone;
            for (FormChart *form : {&shown, &reference})
                form->series[std::size_t(c)]->AppendPoint(200 + k, y, QString(), color);
        }
    }

    int differenceFromFullPass()
    {
        const QImage window = shown.chart.screenBuffer().copy();
        return differingPixels(window, reference.render());
    }

    FormChart shown;
    FormChart reference;
    std::mt19937 random{20240611};
    std::array<int, 6> level{100, 300, 500, 700, 900, 1000};
};

TEST_F(TickRepaint, WindowImageEqualsAFullPassAfter1And7And500Ticks)
{
    const int wholeBefore = shown.chart.wholeRedraws();
    int bandRepaints = 0;
    for (int k = 1; k <= 500; ++k) {
        if (k == 250) {
            for (FormChart *form : {&shown, &reference})
                form->series[0]->setSeriesColor(clFuchsia);
        }
        tick(k);
        bandRepaints += !shown.chart.wholeOutOfDate();
        paintWindow(shown.chart);
        if (k == 1 || k == 7 || k == 500) {
            EXPECT_EQ(differenceFromFullPass(), 0) << "after " << k << " ticks";
        }
    }
    // The comparisons above must have been about band repaints, not full ones. The
    // legend's width follows the values (up to "1,000,000,000"); that alone redraws
    // only the legend.
    EXPECT_GT(bandRepaints, 490);
    EXPECT_EQ(shown.chart.wholeRedraws() - wholeBefore, 500 - bandRepaints);
}

TEST(TickInvalidation, AppendMarksOnlyTheNewSegmentsPixels)
{
    FormChart form;
    form.series[0]->AppendPoint(1000, 500, QString(), clBlack);
    paintWindow(form.chart);
    form.series[0]->AppendPoint(1010, 600, QString(), clBlack);
    ASSERT_FALSE(form.chart.wholeOutOfDate());
    const QRect band = form.chart.outOfDateBand();
    const AxisMapping &x = form.chart.BottomAxis().mapping();
    const AxisMapping &y = form.chart.LeftAxis().mapping();
    EXPECT_EQ(band, QRect(QPoint(x.toPixel(1000) - 2, y.toPixel(600) - 2), QPoint(x.toPixel(1010) + 2, y.toPixel(500) + 2)));
}

// Records the areas of the chart that the window repainted.
class PaintedAreas : public QObject
{
public:
    explicit PaintedAreas(QWidget &widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted |= static_cast<QPaintEvent *>(event)->region();
        return false;
    }
    bool covers(const QRect &area) const { return QRegion(area).subtracted(painted).isEmpty(); }
    QRegion painted;
};

TEST(TickInvalidation, ALegendGrowingWiderIsShownWithoutAWholeRedraw)
{
    FormChart form;
    FormChart reference;
    form.chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form.chart));
    for (FormChart *f : {&form, &reference})
        f->series[0]->AppendPoint(0, 7, QString(), clBlack);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.chart.wholeOutOfDate(); }));
    const QRect narrow = form.chart.Legend().drawnArea();
    const int wholeBefore = form.chart.wholeRedraws();

    PaintedAreas window(form.chart);
    for (FormChart *f : {&form, &reference})
        f->series[0]->AppendPoint(10, 1000, QString(), clBlack);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.covers(form.chart.Legend().drawnArea()); }));

    EXPECT_GT(form.chart.Legend().drawnArea().width(), narrow.width());
    EXPECT_EQ(form.chart.wholeRedraws(), wholeBefore);
    EXPECT_EQ(differingPixels(form.chart.screenBuffer(), reference.render()), 0);
}

TEST(TickInvalidation, WrapAndAxisChangeInvalidateTheWholeChart)
{
    FormChart form;
    form.series[0]->AppendPoint(0, 500, QString(), clBlack);
    paintWindow(form.chart);
    form.series[0]->AppendPoint(10, 500, QString(), clBlack);
    ASSERT_FALSE(form.chart.wholeOutOfDate());
    for (TLineSeries *line : form.series)
        line->ClearPoints();
    EXPECT_TRUE(form.chart.wholeOutOfDate());

    paintWindow(form.chart);
    form.series[0]->AppendPoint(0, 500, QString(), clBlack);
    form.chart.BottomAxis().setMaximum(3000);
    EXPECT_TRUE(form.chart.wholeOutOfDate());

    paintWindow(form.chart);
    form.chart.LeftAxis().setMinimum(-100);
    EXPECT_TRUE(form.chart.wholeOutOfDate());
}

struct BandRow
{
    const char *name;
    QPoint from;
    QPoint to;
    int penWidth;
    QRect expected;
};

class SegmentBand : public ::testing::TestWithParam<BandRow>
{
};

// The form's plotting rectangle: columns 25 .. 799, rows 10 .. 238.
constexpr ChartRect plot{25, 10, 800, 239};

TEST_P(SegmentBand, CoversBothEndsWithThePensWidth)
{
    const BandRow &row = GetParam();
    EXPECT_EQ(RepaintBand::ofSegment(row.from, row.to, row.penWidth, plot), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SegmentBand,
    ::testing::Values(
        BandRow{"DownToTheRight", {100, 50}, {110, 80}, 2, QRect(QPoint(98, 48), QPoint(112, 82))},
        BandRow{"UpToTheLeft", {110, 80}, {100, 50}, 2, QRect(QPoint(98, 48), QPoint(112, 82))},
        BandRow{"OnePixelThinPen", {50, 60}, {50, 60}, 1, QRect(QPoint(49, 59), QPoint(51, 61))},
        BandRow{"WidePen", {300, 100}, {301, 100}, 5, QRect(QPoint(295, 95), QPoint(306, 105))},
        BandRow{"NoWidthCountsAsOne", {300, 100}, {300, 100}, 0, QRect(QPoint(299, 99), QPoint(301, 101))},
        BandRow{"CutAtThePlotsLeftAndTop", {20, 5}, {30, 40}, 2, QRect(QPoint(25, 10), QPoint(32, 42))},
        BandRow{"CutAtThePlotsRightAndBottom", {795, 200}, {805, 300}, 2, QRect(QPoint(793, 198), QPoint(799, 238))},
        BandRow{"WhollyRightOfThePlot", {900, 100}, {950, 100}, 2, QRect()},
        BandRow{"WhollyAboveThePlot", {300, -50}, {310, 5}, 2, QRect()},
        BandRow{"FarOffPixels", {-32766, -32766}, {32766, 32766}, 2, QRect(QPoint(25, 10), QPoint(799, 238))}),
    [](const ::testing::TestParamInfo<BandRow> &info) { return std::string(info.param.name); });

} // namespace
