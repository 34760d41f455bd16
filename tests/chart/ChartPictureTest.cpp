#include "FormChart.h"
#include "chart/ChartFont.h"

#include <QFontMetrics>
#include <QTest>
#include <gtest/gtest.h>
#include <initializer_list>

namespace {

QRgb rgb(TColor color)
{
    return toQColor(color).rgb();
}

struct Probe
{
    int x;
    int y;
    TColor color;
};

void expectPixels(const QImage &picture, std::initializer_list<Probe> probes)
{
    for (const Probe &probe : probes)
        EXPECT_EQ(picture.pixel(probe.x, probe.y), rgb(probe.color)) << "at " << probe.x << ", " << probe.y;
}

class FormChartPicture : public ::testing::Test
{
protected:
    // Renders once so that the axes hold the pixels of this chart's layout.
    QImage renderAndLayOut() { return form.render(); }

    int xOf(double value) { return form.chart.BottomAxis().mapping().toPixel(value); }
    int yOf(double value) { return form.chart.LeftAxis().mapping().toPixel(value); }

    // The plotting rectangle below the title: the title line plus 5 pixels under the top
    // margin of 10.
    int plotTop() const { return 10 + QFontMetrics(chartFont(QStringLiteral("Arial"), 8)).height() + 5; }
    QRect plotArea()
    {
        const AxisMapping &bottom = form.chart.BottomAxis().mapping();
        return QRect(QPoint(bottom.start() + 2, plotTop() + 1), QPoint(bottom.end() - 1, form.chart.LeftAxis().mapping().end()));
    }

    FormChart form;
};

TEST_F(FormChartPicture, PanelIsSilverWithARaisedBevel)
{
    const QImage picture = renderAndLayOut();
    EXPECT_EQ(picture.size(), QSize(825, 249));
    expectPixels(picture, {{5, 5, clSilver}, {820, 245, clSilver}, {0, 100, clBtnHighlight},
                           {400, 0, clBtnHighlight}, {824, 100, clBtnShadow}, {400, 248, clBtnShadow}});
}

TEST_F(FormChartPicture, InnerBevelLiesInsideTheOuterBevelAndTheBorder)
{
    form.chart.setBevelInner(bvLowered);
    form.chart.setBorderWidth(2);
    const QImage picture = renderAndLayOut();
    // Outer bevel: row and column 0 and the last ones; border: 1 and 2; inner bevel: 3.
    expectPixels(picture, {{400, 2, clSilver}, {400, 3, clBtnShadow}, {3, 100, clBtnShadow},
                           {400, 245, clBtnHighlight}, {821, 100, clBtnHighlight}, {822, 100, clSilver}});
}

TEST_F(FormChartPicture, EmptySeriesGiveALegendBoxOfSixBlankRows)
{
    const QImage picture = renderAndLayOut();
    const int h = QFontMetrics(chartFontOfHeight(QStringLiteral("Arial"), 13)).height();
    // Top 27, rows from 28, left 27 inside a one-pixel frame; no text: 10 + 2 wide.
    const int right = 39;
    const int bottom = 27 + 6 * h + 2;
    for (const QPoint corner : {QPoint(26, 26), QPoint(right, 26), QPoint(26, bottom), QPoint(right, bottom)})
        EXPECT_EQ(picture.pixel(corner), rgb(clBlack)) << corner.x() << "," << corner.y();
    EXPECT_EQ(picture.pixel(25, 40), rgb(clSilver));
    EXPECT_EQ(picture.pixel(right + 1, 40), rgb(clSilver));
    EXPECT_EQ(picture.pixel(30, bottom + 1), rgb(clSilver));

    int dividingLines = 0;
    for (int y = 27; y < bottom; ++y) {
        const QRgb colour = picture.pixel(30, y);
        ASSERT_TRUE(colour == rgb(0xF4C8CD) || colour == rgb(clBlack)) << "row " << y;
        if (colour == rgb(clBlack)) {
            ++dividingLines;
            EXPECT_EQ((y - 28) % h, 0) << "dividing line at " << y;
        }
    }
    EXPECT_EQ(dividingLines, 5);
}

TEST_F(FormChartPicture, LegendSymbolUsesTheSeriesColourNotThePoints)
{
    form.series[3]->AppendPoint(0, 700, QString(), clMaroon);
    const QImage picture = renderAndLayOut();
    const QRect legend(27, 27, 80, 100);
    EXPECT_GT(pixelsOfColor(picture, legend, 0x404080), 4);
    EXPECT_EQ(pixelsOfColor(picture, legend, clMaroon), 0);
    EXPECT_GT(pixelsOfColor(picture, legend, clBlack), 40); // frame, lines and the text " 700"
}

TEST_F(FormChartPicture, BackWallFramesThePlotAndShowsThePanelInside)
{
    const QImage picture = renderAndLayOut();
    const AxisMapping &bottom = form.chart.BottomAxis().mapping();
    const std::vector<int> &grid = form.chart.BottomAxis().tickPixels();
    int framed = 0;
    for (int x = bottom.start(); x <= bottom.end(); ++x) {
        if (std::find(grid.begin(), grid.end(), x) == grid.end())
            framed += picture.pixel(x, plotTop()) == rgb(clBlack);
        else
            ++framed;
    }
    EXPECT_EQ(framed, bottom.end() - bottom.start() + 1);
    // The grid lines end inside the plot: the axis line below them is unbroken.
    int axisLine = 0;
    for (int x = bottom.start(); x <= bottom.end(); ++x)
        axisLine += picture.pixel(x, form.chart.plotRect().bottom) == rgb(clBlack);
    EXPECT_EQ(axisLine, bottom.end() - bottom.start() + 1);
    EXPECT_EQ(picture.pixel(bottom.start(), plotTop() - 1), rgb(clSilver));
    // Between grid lines the clear wall shows the panel.
    EXPECT_EQ(picture.pixel((xOf(100) + xOf(200)) / 2, (yOf(500) + yOf(600)) / 2), rgb(clSilver));
}

TEST_F(FormChartPicture, SegmentsTakeTheColourOfTheirEndPoint)
{
    renderAndLayOut();
    form.series[0]->AppendPoint(0, 300, QString(), clRed);
    form.series[0]->AppendPoint(1000, 300, QString(), clBlue);
    form.series[0]->AppendPoint(2000, 300, QString(), clRed);
    const QImage picture = form.render();
    EXPECT_EQ(picture.pixel(xOf(450), yOf(300)), rgb(clBlue));
    EXPECT_EQ(picture.pixel(xOf(1450), yOf(300)), rgb(clRed));
    EXPECT_EQ(picture.pixel(xOf(450), yOf(300) - 3), rgb(clSilver));
}

TEST_F(FormChartPicture, FarPointIsLeftOutAndNullPointIsNotJoined)
{
    renderAndLayOut();
    TLineSeries &far = *form.series[1];
    far.AppendPoint(500, 300, QString(), clRed);
    far.AppendPoint(1000, 1e9, QString(), clRed);
    far.AppendPoint(1500, 300, QString(), clRed);
    TLineSeries &null = *form.series[2];
    null.AppendPoint(500, 800, QString(), clLime);
    null.AppendPoint(1000, 1000, QString(), clNone);
    null.AppendPoint(1500, 800, QString(), clLime);
    const QImage picture = form.render();

    EXPECT_EQ(picture.pixel(xOf(1000), yOf(300)), rgb(clRed));
    const QRect aboveTheLine(QPoint(xOf(1000) - 3, plotTop() + 1), QPoint(xOf(1000) + 3, yOf(300) - 3));
    EXPECT_EQ(pixelsOfColor(picture, aboveTheLine, clRed), 0);
    EXPECT_EQ(pixelsOfColor(picture, plotArea(), clLime), 0);
}

TEST_F(FormChartPicture, PointsOutsideTheAxisRangeAreClippedToThePlot)
{
    const QImage empty = renderAndLayOut();
    for (const auto &[x, y] : {std::pair{0, 3000}, {1000, 3000}, {2000, -500}, {2200, 600}})
        form.series[5]->AppendPoint(x, y, QString(), clBlue);
    const QImage picture = form.render();
    // The title is blue too: above the plot nothing may change.
    const QRect above(0, 0, 825, plotTop());
    EXPECT_EQ(pixelsOfColor(picture, above, clBlue), pixelsOfColor(empty, above, clBlue));
    EXPECT_EQ(pixelsOfColor(picture, QRect(801, 0, 24, 249), clBlue), 0);
    EXPECT_GT(pixelsOfColor(picture, plotArea(), clBlue), 100);
}

// Six appends and six clears between two repaints cost one drawing pass; a repaint
// without changes only copies the image.
TEST(ChartRepaint, RequestsAreCoalescedIntoOneDrawingPass)
{
    FormChart form;
    form.chart.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.chart.drawingPasses() > 0; }, 10000));
    QCoreApplication::processEvents();
    const int before = form.chart.drawingPasses();

    for (TLineSeries *line : form.series)
        line->AppendPoint(10, 100, QString(), clRed);
    for (TLineSeries *line : form.series)
        line->ClearPoints();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.chart.drawingPasses() > before; }, 10000));
    QCoreApplication::processEvents();
    EXPECT_EQ(form.chart.drawingPasses(), before + 1);
    form.chart.repaint();
    EXPECT_EQ(form.chart.drawingPasses(), before + 1);
}

} // namespace
