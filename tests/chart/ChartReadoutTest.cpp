#include "app/SweepChartDesign.h"
#include "chart/Chart.h"
#include "chart/LineSeries.h"
#include "tests/chart/FormChart.h"

#include <QFile>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace {

// The main window's chart, shown, recording what every repaint covered.
class RecordingChart : public TChart
{
public:
    QRegion painted;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        painted += event->region();
        TChart::paintEvent(event);
    }
};

// Traces with known values at known places of the 0 .. 2000 sweep:
// ADC 0: every 10, Y = 2 X;
// ADC 1: null points at 995 and 1000, then 40 at 1004 (and ends at 0 and 2000);
// ADC 2: 300 every 10, but its box was unticked from 500 to 1500;
// ADC 3: points, but the series is off; ADC 4 and ADC 5: empty.
class ChartReadout : public ::testing::Test
{
protected:
    void SetUp() override
    {
        chart.resize(825, 249);
        applyChart1Design(chart, series);
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
        chart.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
        settle();
    }

    void settle()
    {
        QCoreApplication::processEvents();
        chart.repaint();
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

    void drag(Qt::MouseButton button, QPoint from, QPoint to)
    {
        QTest::mousePress(&chart, button, Qt::NoModifier, from);
        QTest::mouseMove(&chart, to);
        QTest::mouseRelease(&chart, button, Qt::NoModifier, to);
        settle();
    }

    TChartReadout &readout() { return chart.Readout(); }

    RecordingChart chart;
    std::array<TLineSeries *, 6> series{};
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
    chart.painted = QRegion();
    const QRect lineBefore(column(700), chart.plotRect().top, 1, chart.plotRect().height());
    const QRect boxBefore = readout().boxRect();
    point(at(1000));
    const QRect lineAfter(column(1000), chart.plotRect().top, 1, chart.plotRect().height());
    EXPECT_FALSE(chart.painted.isEmpty());
    EXPECT_EQ(chart.painted - QRegion(lineBefore) - boxBefore - lineAfter - readout().boxRect(), QRegion());
    EXPECT_EQ(chart.drawingPasses(), passes);
    EXPECT_EQ(chart.screenBuffer(), buffer);

    // The window shows line, box and mark; a picture saved now is the one from before.
    const QImage window = chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect markLine = lineAfter.translated(column(400) - column(1000), 0);
    EXPECT_EQ(pixelsOfColor(window, lineAfter, clBlack), lineAfter.height());
    EXPECT_GT(pixelsOfColor(window, markLine, clBlack), lineAfter.height() / 2); // dashed
    EXPECT_LT(pixelsOfColor(buffer, markLine, clBlack), 4);                      // the trace crossing it
    const QRect box = readout().boxRect();
    EXPECT_GT(differingPixels(window.copy(box), buffer.copy(box)), 2 * box.width()); // frame and text
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
