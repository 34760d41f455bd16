#include "app/SweepChartDesign.h"
#include "chart/Chart.h"
#include "chart/LineSeries.h"
#include "chart/ZoomRules.h"
#include "tests/chart/FormChart.h"
#include "tests/support/PixelDifference.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <tuple>
#include <vector>

namespace {

struct Ranges
{
    double bottomMinimum;
    double bottomMaximum;
    double leftMinimum;
    double leftMaximum;
};

// The main window's chart, shown, recording the axis ranges every repaint drew and
// what it covered.
class RecordingChart : public TChart
{
public:
    std::vector<Ranges> painted;
    QRegion repainted;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        painted.push_back({BottomAxis().Minimum(), BottomAxis().Maximum(), LeftAxis().Minimum(), LeftAxis().Maximum()});
        repainted += event->region();
        TChart::paintEvent(event);
    }
};

class ChartZoom : public ::testing::Test
{
protected:
    void SetUp() override
    {
        chart.resize(825, 249);
        applyChart1Design(chart, series);
        for (TLineSeries *line : series)
            line->LinePen().setWidth(2);
        addTraces();
        chart.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
        settle();
    }

    // A level trace across the whole sweep at 500.
    virtual void addTraces()
    {
        for (const double x : {0.0, 1000.0, 2000.0})
            series[0]->AppendPoint(x, 500, QString(), clDefault);
    }

    // Runs the repaints asked for so far: the layout then matches the ranges.
    void settle()
    {
        QCoreApplication::processEvents();
        chart.repaint();
    }

    void drag(Qt::MouseButton button, QPoint from, QPoint to)
    {
        QTest::mousePress(&chart, button, Qt::NoModifier, from);
        QTest::mouseMove(&chart, to);
        QTest::mouseRelease(&chart, button, Qt::NoModifier, to);
        settle();
    }

    void wheel(int angle)
    {
        const QPoint at = plotCentre();
        QWheelEvent event(at, chart.mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&chart, &event);
    }

    // Takes the readout away, as the pointer leaving the chart does.
    void pointerAway()
    {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&chart, &leave);
        settle();
    }

    Ranges ranges()
    {
        return {chart.BottomAxis().Minimum(), chart.BottomAxis().Maximum(), chart.LeftAxis().Minimum(),
                chart.LeftAxis().Maximum()};
    }

    void expectRanges(const Ranges &actual, const Ranges &expected)
    {
        EXPECT_NEAR(actual.bottomMinimum, expected.bottomMinimum, 1e-9);
        EXPECT_NEAR(actual.bottomMaximum, expected.bottomMaximum, 1e-9);
        EXPECT_NEAR(actual.leftMinimum, expected.leftMinimum, 1e-9);
        EXPECT_NEAR(actual.leftMaximum, expected.leftMaximum, 1e-9);
    }

    QPoint plotCentre() const
    {
        const ChartRect &plot = chart.plotRect();
        return {(plot.left + plot.right) / 2, (plot.top + plot.bottom) / 2 - 30};
    }

    static constexpr Ranges designed{0, 2000, -10, 1200};

    RecordingChart chart;
    std::array<TLineSeries *, 6> series{};
};

TEST_F(ChartZoom, MainWindowChartZoomsAnimatedAndPansOnlyVertically)
{
    EXPECT_TRUE(chart.Zoom().AllowZoom());
    EXPECT_TRUE(chart.Zoom().AnimatedZoom());
    EXPECT_EQ(chart.Zoom().AnimatedZoomSteps(), 8);
    EXPECT_EQ(chart.Zoom().AllowPanning(), pmVertical);
}

TEST_F(ChartZoom, PressesLandOnWhatIsDrawnThereInOrder)
{
    using Target = TChartZoom::Target;
    const ChartRect &plot = chart.plotRect();
    const int lineY = chart.LeftAxis().mapping().toPixel(500);
    const int middleY = chart.LeftAxis().mapping().centre();
    const int middleX = chart.BottomAxis().mapping().centre();
    EXPECT_EQ(chart.Zoom().pressTarget({400, lineY}), Target::Series);
    EXPECT_EQ(chart.Zoom().pressTarget({400, lineY - 3}), Target::Background);
    // The axis band runs from 3 pixels inside the axis line out to the labels' edge,
    // 6 pixels of line and ticks outside the plotting area.
    EXPECT_EQ(chart.Zoom().pressTarget({plot.left - 5, middleY}), Target::Axis);
    EXPECT_EQ(chart.Zoom().pressTarget({plot.left + 2, middleY}), Target::Axis);
    EXPECT_EQ(chart.Zoom().pressTarget({middleX, plot.bottom + 5}), Target::Axis);
    EXPECT_EQ(chart.Zoom().pressTarget({middleX, plot.bottom - 3}), Target::Axis);
    EXPECT_EQ(chart.Zoom().pressTarget({plot.left - 12, middleY}), Target::Nothing); // the label text
    EXPECT_EQ(chart.Zoom().pressTarget({plot.left + 8, middleY}), Target::Background);
    EXPECT_EQ(chart.Zoom().pressTarget({(plot.left + plot.right) / 2, 14}), Target::Title);
    EXPECT_EQ(chart.Zoom().pressTarget({30, 30}), Target::Legend);
    EXPECT_EQ(chart.Zoom().pressTarget({4, 4}), Target::Nothing);

    // With every series off there is no background to press on.
    for (TLineSeries *line : series)
        line->setActive(false);
    settle();
    EXPECT_EQ(chart.Zoom().pressTarget({400, lineY - 3}), Target::Nothing);
}

TEST_F(ChartZoom, SeventeenPixelDragDownRightZoomsToTheValuesUnderItsCorners)
{
    const AxisMapping bottom = chart.BottomAxis().mapping();
    const AxisMapping left = chart.LeftAxis().mapping();
    const QPoint from(300, 80);
    const QPoint to(317, 97);
    drag(Qt::LeftButton, from, to);
    EXPECT_TRUE(chart.Zoom().Zoomed());
    expectRanges(ranges(), {bottom.toValue(300), bottom.toValue(317), left.toValue(97), left.toValue(80)});
    // Only the view changed.
    ASSERT_EQ(series[0]->PointCount(), 3);
    EXPECT_EQ(series[0]->XValues().Value(1), 1000);
    EXPECT_EQ(series[0]->YValues().Value(1), 500);
}

TEST_F(ChartZoom, DragsOfSixteenPixelsOrLessDoNothing)
{
    drag(Qt::LeftButton, {300, 60}, {316, 100});
    drag(Qt::LeftButton, {300, 60}, {340, 76});
    expectRanges(ranges(), designed);
    EXPECT_FALSE(chart.Zoom().Zoomed());
    EXPECT_TRUE(chart.Zoom().scalesRestored());
}

TEST_F(ChartZoom, DragsWithALeftwardOrUpwardPartRestoreTheFirstSavedScales)
{
    const std::array<QPoint, 3> undoEnds{QPoint(250, 40), QPoint(250, 120), QPoint(350, 40)};
    for (const QPoint end : undoEnds) {
        drag(Qt::LeftButton, {300, 60}, {400, 100});
        drag(Qt::LeftButton, {320, 70}, {380, 90}); // a second zoom saves nothing new
        ASSERT_TRUE(chart.Zoom().Zoomed());
        drag(Qt::LeftButton, {300, 80}, end);
        expectRanges(ranges(), designed);
        EXPECT_FALSE(chart.Zoom().Zoomed());
        EXPECT_TRUE(chart.Zoom().scalesRestored());
        EXPECT_FALSE(chart.Zoom().zooming());
    }
}

TEST_F(ChartZoom, UndoWithNothingSavedOnlyRepaints)
{
    const int passes = chart.drawingPasses();
    drag(Qt::LeftButton, {300, 80}, {250, 40});
    expectRanges(ranges(), designed);
    EXPECT_GT(chart.drawingPasses(), passes);
    EXPECT_FALSE(chart.LeftAxis().Automatic());
}

TEST_F(ChartZoom, ZoomRepaintsSevenTimesOnTheWayThenShowsTheExactRange)
{
    const AxisMapping bottom = chart.BottomAxis().mapping();
    const AxisMapping left = chart.LeftAxis().mapping();
    const Ranges target{bottom.toValue(300), bottom.toValue(400), left.toValue(140), left.toValue(60)};
    QTest::mousePress(&chart, Qt::LeftButton, Qt::NoModifier, {300, 60});
    QTest::mouseMove(&chart, {400, 140});
    settle();
    chart.painted.clear();
    QTest::mouseRelease(&chart, Qt::LeftButton, Qt::NoModifier, {400, 140});
    QCoreApplication::processEvents();
    ASSERT_EQ(chart.painted.size(), 8u);
    // Each step closes a third of what is left: after step i, (2/3)^i of the way remains.
    for (std::size_t i = 0; i < 7; ++i) {
        const Ranges &r = chart.painted[i];
        const double remaining = std::pow(2.0 / 3.0, double(i + 1));
        EXPECT_NEAR(target.bottomMinimum - r.bottomMinimum, remaining * (target.bottomMinimum - designed.bottomMinimum), 1e-6) << i;
        EXPECT_NEAR(r.bottomMaximum - target.bottomMaximum, remaining * (designed.bottomMaximum - target.bottomMaximum), 1e-6) << i;
        EXPECT_NEAR(target.leftMinimum - r.leftMinimum, remaining * (target.leftMinimum - designed.leftMinimum), 1e-6) << i;
        EXPECT_NEAR(r.leftMaximum - target.leftMaximum, remaining * (designed.leftMaximum - target.leftMaximum), 1e-6) << i;
    }
    expectRanges(chart.painted.back(), target);
}

TEST_F(ChartZoom, WithoutAnimationTheZoomGoesStraightToTheRange)
{
    chart.Zoom().setAnimatedZoom(false);
    QTest::mousePress(&chart, Qt::LeftButton, Qt::NoModifier, {300, 60});
    QTest::mouseMove(&chart, {400, 140});
    settle();
    chart.painted.clear();
    QTest::mouseRelease(&chart, Qt::LeftButton, Qt::NoModifier, {400, 140});
    QCoreApplication::processEvents();
    EXPECT_EQ(chart.painted.size(), 1u);
}

TEST_F(ChartZoom, UndoReplacesAChartLengthSetWhileZoomed)
{
    drag(Qt::LeftButton, {300, 60}, {400, 100});
    chart.BottomAxis().setMaximum(5000); // the chart length button
    chart.LeftAxis().setMaximum(3069);   // the multiplier button
    settle();
    drag(Qt::LeftButton, {400, 100}, {300, 60});
    expectRanges(ranges(), designed);
}

TEST_F(ChartZoom, RightDragMovesOnlyTheVerticalScaleAndStopsOutsideThePlottingArea)
{
    const double unitsPerPixel = 1210.0 / chart.LeftAxis().mapping().size();
    const QPoint start = plotCentre();
    QTest::mousePress(&chart, Qt::RightButton, Qt::NoModifier, start);
    QTest::mouseMove(&chart, start + QPoint(15, 20));
    EXPECT_TRUE(chart.Zoom().panning());
    const Ranges moved = ranges();
    EXPECT_NEAR(moved.leftMinimum, -10 + 20 * unitsPerPixel, 1e-9);
    EXPECT_NEAR(moved.leftMaximum, 1200 + 20 * unitsPerPixel, 1e-9);
    EXPECT_EQ(moved.bottomMinimum, 0);
    EXPECT_EQ(moved.bottomMaximum, 2000);

    QTest::mouseMove(&chart, {30, 30}); // over the legend, the button still held
    EXPECT_FALSE(chart.Zoom().panning());
    QTest::mouseMove(&chart, start);
    expectRanges(ranges(), moved);
    QTest::mouseRelease(&chart, Qt::RightButton, Qt::NoModifier, start);
    settle();

    // The pan saved the scales: an undo puts back the designed ones.
    drag(Qt::LeftButton, {400, 100}, {300, 60});
    expectRanges(ranges(), designed);
}

TEST_F(ChartZoom, PressOnTheLegendOrTheTitleStartsNoDrag)
{
    const int titleX = (chart.plotRect().left + chart.plotRect().right) / 2;
    for (const QPoint start : {QPoint(30, 30), QPoint(titleX, 14)}) {
        QTest::mousePress(&chart, Qt::LeftButton, Qt::NoModifier, start);
        EXPECT_FALSE(chart.Zoom().zooming());
        QTest::mouseMove(&chart, start + QPoint(100, 100));
        QTest::mouseRelease(&chart, Qt::LeftButton, Qt::NoModifier, start + QPoint(100, 100));
        QTest::mousePress(&chart, Qt::RightButton, Qt::NoModifier, start);
        EXPECT_FALSE(chart.Zoom().panning());
        QTest::mouseRelease(&chart, Qt::RightButton, Qt::NoModifier, start);
        expectRanges(ranges(), designed);
    }
}

TEST_F(ChartZoom, WheelShiftsTheVerticalScaleByThreePercentANotchWithoutSavingIt)
{
    const int passes = chart.drawingPasses();
    wheel(-120); // towards the user
    expectRanges(ranges(), {0, 2000, 26.3, 1236.3});
    EXPECT_GT(chart.drawingPasses(), passes); // at once, not on the next turn of the loop
    EXPECT_TRUE(chart.Zoom().scalesRestored());
    wheel(60); // half a notch away: nothing yet
    expectRanges(ranges(), {0, 2000, 26.3, 1236.3});
    wheel(60);
    expectRanges(ranges(), designed);
    wheel(240);
    expectRanges(ranges(), {0, 2000, -82.6, 1127.4});
}

TEST_F(ChartZoom, ZoomRectangleIsDrawnOverTheWindowOnlyWhileDragging)
{
    const QImage before = chart.grab().toImage();
    QTest::mousePress(&chart, Qt::LeftButton, Qt::NoModifier, {300, 60});
    QTest::mouseMove(&chart, {340, 100});
    settle();
    const QImage during = chart.grab().toImage();
    // Not-XOR with silver: every pixel of the 40 x 40 outline changes, nothing else.
    const auto notXor = [](QRgb screen) { return (~(0xC0C0C0u ^ screen) & 0xFFFFFFu) | 0xFF000000u; };
    for (const QPoint p : {QPoint(300, 60), QPoint(339, 60), QPoint(300, 99), QPoint(339, 99), QPoint(320, 60), QPoint(300, 80)})
        EXPECT_EQ(during.pixel(p), notXor(before.pixel(p))) << p.x() << "," << p.y();
    EXPECT_EQ(differingPixels(before, during), 2 * 40 + 2 * 38);
    // A picture saved meanwhile shows the chart, not the drag.
    EXPECT_EQ(chart.RenderBitmap(clWhite, chart.rect()).convertToFormat(QImage::Format_RGB32),
              before.convertToFormat(QImage::Format_RGB32));

    QTest::mouseMove(&chart, {310, 70});
    QTest::mouseRelease(&chart, Qt::LeftButton, Qt::NoModifier, {310, 70});
    pointerAway();
    EXPECT_EQ(chart.grab().toImage(), before);
}

// A pixel inverted twice would vanish: however thin the rectangle, each of its pixels
// changes once (for w x h: two rows of w where h allows, two columns between them).
TEST_F(ChartZoom, ThinZoomRectanglesShowEveryPixelOfTheirOutline)
{
    struct Row
    {
        int width, height, changed;
    };
    const QImage before = chart.grab().toImage();
    for (const Row row : {Row{40, 1, 40}, Row{40, 2, 80}, Row{40, 3, 82}, Row{1, 40, 40}, Row{2, 40, 80}}) {
        QTest::mousePress(&chart, Qt::LeftButton, Qt::NoModifier, {300, 60});
        QTest::mouseMove(&chart, {300 + row.width, 60 + row.height});
        settle();
        EXPECT_EQ(differingPixels(before, chart.grab().toImage()), row.changed) << row.width << " x " << row.height;
        QTest::mouseMove(&chart, {300, 60});
        QTest::mouseRelease(&chart, Qt::LeftButton, Qt::NoModifier, {300, 60});
        pointerAway();
    }
    EXPECT_EQ(chart.grab().toImage(), before);
}

TEST_F(ChartZoom, PictureSavedWhileZoomedShowsWhatTheWindowShows)
{
    const QImage unzoomed = chart.RenderBitmap(clWhite, chart.rect());
    drag(Qt::LeftButton, {300, 60}, {400, 140});
    pointerAway();
    const QImage window = chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage picture = chart.RenderBitmap(clWhite, chart.rect());
    EXPECT_EQ(picture, window);
    EXPECT_NE(picture, unzoomed);
}

// The values under the pointer, over traces with known values at known places of the
// 0 .. 2000 sweep:
// ADC 0: every 10, Y = 2 X;
// ADC 1: null points at 995 and 1000, then 40 at 1004 (and ends at 0 and 2000);
// ADC 2: 300 every 10, but its box was unticked from 500 to 1500;
// ADC 3: points, but the series is off; ADC 4 and ADC 5: empty.
class ChartReadout : public ChartZoom
{
protected:
    void addTraces() override
    {
        for (int x = 0; x <= 2000; x += 10) {
            series[0]->AppendPoint(x, 2 * x, QString(), clBlack);
            if (x <= 500 || x >= 1500)
                series[2]->AppendPoint(x, 300, QString(), clLime);
            series[3]->AppendPoint(x, 7, QString(), clMaroon);
        }
        for (const auto &[x, y, color] : std::vector<std::tuple<double, double, TColor>>{
                 {0, 10, clRed}, {995, 20, clNone}, {1000, 30, clNone}, {1004, 40, clRed}, {2000, 50, clRed}})
            series[1]->AppendPoint(x, y, QString(), color);
        series[3]->setActive(false);
    }

    int column(double x) { return chart.BottomAxis().mapping().toPixel(x); }
    QPoint at(double x) { return {column(x), 100}; }

    // The pointer over the chart as the window system moves it, buttons up.
    void point(QPoint where)
    {
        QTest::mouseMove(&chart, where);
        QCoreApplication::processEvents();
    }

    void stillClick(QPoint where)
    {
        point(where);
        QTest::mousePress(&chart, Qt::LeftButton, Qt::NoModifier, where);
        QTest::mouseRelease(&chart, Qt::LeftButton, Qt::NoModifier, where + QPoint(2, -2));
        settle();
    }

    TChartReadout &readout() { return chart.Readout(); }
};

using Expected = std::array<std::optional<double>, 3>; // ADC 0, ADC 1, ADC 2

struct ValueRow
{
    const char *what;
    double minimum; // of the bottom axis
    double maximum;
    double x;
    Expected values;
};

TEST_F(ChartReadout, ListsEachDrawnTraceAtThePointerColumnAtAnyZoom)
{
    const ValueRow rows[] = {
        {"all traces near", 0, 2000, 400, {800, std::nullopt, 300}},
        {"null points stepped over, gap of an unticked box", 0, 2000, 1000, {2000, 40, std::nullopt}},
        {"zoomed in: a point 4 X off is 26 pixels away", 950, 1050, 1004, {std::nullopt, 40, std::nullopt}},
        {"zoomed in: only null points near", 950, 1050, 1000, {2000, std::nullopt, std::nullopt}},
    };
    for (const ValueRow &row : rows) {
        chart.BottomAxis().SetMinMax(row.minimum, row.maximum);
        settle();
        point(at(row.x));
        ASSERT_TRUE(readout().shown()) << row.what;
        const TChartReadout::Values values = readout().values();
        const double perPixel = (row.maximum - row.minimum) / chart.BottomAxis().mapping().size();
        EXPECT_NEAR(values.x, row.x, perPixel) << row.what;
        EXPECT_FALSE(values.deltaX) << row.what;
        ASSERT_EQ(values.traces.size(), 3u) << row.what; // ADC 3 is off, ADC 4 and 5 hold nothing
        const char *const names[] = {"ADC 0", "ADC 1", "ADC 2"};
        const TColor colors[] = {clBlack, clRed, clLime};
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(values.traces[i].name, QString::fromLatin1(names[i])) << row.what;
            EXPECT_EQ(values.traces[i].value, row.values[i]) << row.what << " " << names[i];
            EXPECT_FALSE(values.traces[i].delta) << row.what;
            if (values.traces[i].value) {
                EXPECT_EQ(values.traces[i].color, colors[i]) << row.what;
            }
        }
    }
}

TEST_F(ChartReadout, AMarkAddsTheDifferencesWhereBothEndsHaveAValue)
{
    stillClick(at(400));
    ASSERT_TRUE(readout().markPinned());
    point(at(1000));
    const TChartReadout::Values values = readout().values();
    const AxisMapping bottom = chart.BottomAxis().mapping();
    ASSERT_TRUE(values.deltaX);
    EXPECT_DOUBLE_EQ(*values.deltaX, bottom.toValue(column(1000)) - bottom.toValue(column(400)));
    ASSERT_EQ(values.traces.size(), 3u);
    EXPECT_EQ(values.traces[0].delta, 2000.0 - 800.0);
    EXPECT_FALSE(values.traces[1].delta); // nothing at the mark
    EXPECT_FALSE(values.traces[2].delta); // nothing at the pointer

    // Another still click moves the mark.
    stillClick(at(1000));
    point(at(1500));
    EXPECT_EQ(readout().values().traces[0].delta, 3000.0 - 2000.0);
}

TEST_F(ChartReadout, ShownOnlyOverThePlottingAreaWithTheBoxInsideTheChart)
{
    const ChartRect &plot = chart.plotRect();
    point({plot.right - 3, 100});
    ASSERT_TRUE(readout().shown());
    const QRect box = readout().boxRect();
    EXPECT_TRUE(chart.rect().contains(box));
    EXPECT_LT(box.right(), plot.right - 3); // flipped to the left of the line
    point({(plot.left + plot.right) / 2, plot.bottom - 2});
    EXPECT_TRUE(chart.rect().contains(readout().boxRect()));
    EXPECT_GT(readout().boxRect().left(), (plot.left + plot.right) / 2);
    point({plot.right + 2, 100});
    EXPECT_FALSE(readout().shown());
    EXPECT_TRUE(readout().boxRect().isEmpty());
}

TEST_F(ChartReadout, PointerMovesRepaintOnlyTheOverlayFromTheBufferAndPicturesStayClean)
{
    QTemporaryDir folder;
    chart.SaveBitmapFile(folder.filePath("before.bmp"));
    settle();
    const QImage buffer = chart.screenBuffer().copy();
    const int passes = chart.drawingPasses();

    stillClick(at(400));
    point(at(700));
    chart.repainted = QRegion();
    const QRect lineBefore(column(700), chart.plotRect().top, 1, chart.plotRect().height());
    const QRect boxBefore = readout().boxRect();
    point(at(1000));
    const QRect lineAfter(column(1000), chart.plotRect().top, 1, chart.plotRect().height());
    EXPECT_FALSE(chart.repainted.isEmpty());
    EXPECT_EQ(chart.repainted - QRegion(lineBefore) - boxBefore - lineAfter - readout().boxRect(), QRegion());
    EXPECT_EQ(chart.drawingPasses(), passes);
    EXPECT_EQ(chart.screenBuffer(), buffer);

    // The window shows line, box and mark; a picture saved now is the one from before.
    const QImage window = chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect markLine = lineAfter.translated(column(400) - column(1000), 0);
    EXPECT_EQ(pixelsOfColor(window, lineAfter, clBlack), lineAfter.height());
    // Dashed, across a trace that has a few black pixels there already.
    EXPECT_GT(pixelsOfColor(window, markLine, clBlack), pixelsOfColor(buffer, markLine, clBlack) + lineAfter.height() / 2);
    const QRect box = readout().boxRect();
    EXPECT_GT(differingPixels(window.copy(box), buffer.copy(box)), 2 * box.width()); // frame and text
    // The frame is the box's outermost pixels, within what is repainted for it.
    for (const QRect edge : {QRect(box.left(), box.top(), box.width(), 1), QRect(box.left(), box.bottom(), box.width(), 1),
                             QRect(box.left(), box.top(), 1, box.height()), QRect(box.right(), box.top(), 1, box.height())})
        EXPECT_EQ(pixelsOfColor(window, edge, clBlack), edge.width() * edge.height());
    chart.SaveBitmapFile(folder.filePath("after.bmp"));
    QFile before(folder.filePath("before.bmp"));
    QFile after(folder.filePath("after.bmp"));
    ASSERT_TRUE(before.open(QIODevice::ReadOnly) && after.open(QIODevice::ReadOnly));
    EXPECT_EQ(before.readAll(), after.readAll());
}

TEST_F(ChartReadout, StillClickPinsWhileDragsKeepZoomingAndPanning)
{
    const QPoint centre = at(1000);
    drag(Qt::LeftButton, centre, centre + QPoint(17, 17));
    EXPECT_TRUE(chart.Zoom().Zoomed());
    EXPECT_FALSE(readout().markPinned());
    drag(Qt::LeftButton, centre + QPoint(17, 17), centre); // back to the whole sweep

    const double leftMinimum = chart.LeftAxis().Minimum();
    drag(Qt::RightButton, centre, centre + QPoint(1, 20));
    EXPECT_NE(chart.LeftAxis().Minimum(), leftMinimum);
    EXPECT_FALSE(readout().markPinned());

    // Hidden while a drag goes on.
    QTest::mousePress(&chart, Qt::LeftButton, Qt::NoModifier, centre);
    QTest::mouseMove(&chart, centre + QPoint(3, 0));
    EXPECT_FALSE(readout().shown());
    QTest::mouseRelease(&chart, Qt::LeftButton, Qt::NoModifier, centre + QPoint(3, 0));
    EXPECT_FALSE(readout().markPinned());
    EXPECT_TRUE(readout().shown());

    stillClick(centre);
    EXPECT_TRUE(readout().markPinned());
    EXPECT_FALSE(chart.Zoom().zooming());
    QTest::keyClick(&chart, Qt::Key_Escape);
    EXPECT_FALSE(readout().markPinned());

    stillClick(centre);
    stillClick({chart.plotRect().left - 20, 100}); // on the left axis' labels
    EXPECT_FALSE(readout().markPinned());

    stillClick(centre);
    series[0]->ClearPoints(); // the sweep wraps
    EXPECT_FALSE(readout().markPinned());
}

} // namespace
