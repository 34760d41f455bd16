#include "FormChart.h"
#include "chart/RepaintBand.h"

#include <QBackingStore>
#include <QCoreApplication>
#include <QImage>
#include <QPaintEvent>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <random>

namespace {

// Records the areas of the chart that the window repainted.
class PaintedAreas : public QObject
{
public:
    explicit PaintedAreas(QWidget &widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            painted |= static_cast<QPaintEvent *>(event)->region();
            ++events;
        }
        return false;
    }
    bool covers(const QRect &area) const { return QRegion(area).subtracted(painted).isEmpty(); }
    QRegion painted;
    int events = 0;
};

// The chart as a window on screen, repainted only by the updates Qt delivers to it.
class ChartWindow
{
public:
    explicit ChartWindow(TChart &chart) : m_chart(chart), m_painted(chart)
    {
        chart.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&chart));
        showPending();
    }

    // Runs the repaints the chart has asked for. A paint may ask for another (a legend
    // that grew), which Qt delivers a pass or two later: done after a few passes without
    // a paint event.
    void showPending()
    {
        int quietPasses = 0;
        for (int pass = 0; pass < 100 && quietPasses < 3; ++pass) {
            const int before = m_painted.events;
            QCoreApplication::processEvents();
            quietPasses = m_painted.events == before ? quietPasses + 1 : 0;
        }
        EXPECT_EQ(quietPasses, 3) << "the chart keeps asking for repaints";
    }

    // What the window shows: its backing store, which keeps what earlier paint events
    // drew wherever the later ones left it alone.
    QImage image() const
    {
        const auto *stored = dynamic_cast<const QImage *>(m_chart.backingStore()->paintDevice());
        return stored ? stored->convertToFormat(QImage::Format_RGB32) : QImage();
    }

private:
    TChart &m_chart;
    PaintedAreas m_painted;
};

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
        window.emplace(shown.chart);
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
        const QImage shownImage = window->image();
        if (shownImage.size() != QSize(825, 249))
            return -1;
        return differingPixels(shownImage, reference.render());
    }

    FormChart shown;
    FormChart reference;
    std::optional<ChartWindow> window;
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
        window->showPending();
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
    ChartWindow window(form.chart);
    PaintedAreas painted(form.chart);
    form.series[0]->AppendPoint(1010, 600, QString(), clBlack);
    ASSERT_FALSE(form.chart.wholeOutOfDate());
    const QRect band = form.chart.outOfDateBand();
    const AxisMapping &x = form.chart.BottomAxis().mapping();
    const AxisMapping &y = form.chart.LeftAxis().mapping();
    EXPECT_EQ(band, QRect(QPoint(x.toPixel(1000) - 2, y.toPixel(600) - 2), QPoint(x.toPixel(1010) + 2, y.toPixel(500) + 2)));

    window.showPending();
    EXPECT_TRUE(painted.covers(band)) << "the window repaints the new segment";
    EXPECT_FALSE(painted.covers(form.chart.rect())) << "and not the whole chart";
}

TEST(TickInvalidation, ALegendGrowingWiderIsShownWithoutAWholeRedraw)
{
    FormChart form;
    FormChart reference;
    ChartWindow window(form.chart);
    for (FormChart *f : {&form, &reference})
        f->series[0]->AppendPoint(0, 7, QString(), clBlack);
    window.showPending();
    ASSERT_FALSE(form.chart.wholeOutOfDate());
    const QRect narrow = form.chart.Legend().drawnArea();
    const int wholeBefore = form.chart.wholeRedraws();

    for (FormChart *f : {&form, &reference})
        f->series[0]->AppendPoint(10, 1000, QString(), clBlack);
    window.showPending();

    EXPECT_GT(form.chart.Legend().drawnArea().width(), narrow.width());
    EXPECT_EQ(form.chart.wholeRedraws(), wholeBefore);
    EXPECT_EQ(differingPixels(window.image(), reference.render()), 0);
}

TEST(TickInvalidation, WrapAndAxisChangeRepaintTheWholeChart)
{
    FormChart form;
    form.series[0]->AppendPoint(0, 500, QString(), clBlack);
    ChartWindow window(form.chart);
    form.series[0]->AppendPoint(10, 500, QString(), clBlack);
    ASSERT_FALSE(form.chart.wholeOutOfDate());
    window.showPending();

    const std::pair<const char *, std::function<void()>> changes[] = {
        {"wrap", [&] {
             for (TLineSeries *line : form.series)
                 line->ClearPoints();
         }},
        {"bottom axis", [&] {
             form.series[0]->AppendPoint(0, 500, QString(), clBlack);
             form.chart.BottomAxis().setMaximum(3000);
         }},
        {"left axis", [&] { form.chart.LeftAxis().setMinimum(-100); }},
    };
    for (const auto &[what, change] : changes) {
        PaintedAreas painted(form.chart);
        change();
        EXPECT_TRUE(form.chart.wholeOutOfDate()) << what;
        window.showPending();
        EXPECT_TRUE(painted.covers(form.chart.rect())) << what;
    }
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
    [](const ::testing::TestParamInfo<BandRow> &testInfo) { return std::string(testInfo.param.name); });

} // namespace
