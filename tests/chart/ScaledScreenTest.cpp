#include "FormChart.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// Runs with QT_SCALE_FACTOR=2: a screen with two device pixels to the logical one.
class ScaledScreen : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(form.chart.devicePixelRatioF(), 2.0) << "needs QT_SCALE_FACTOR=2";
        QImage window(form.chart.size() * 2, QImage::Format_RGB32);
        window.setDevicePixelRatio(2);
        form.chart.render(&window);
    }

    FormChart form;
};

TEST_F(ScaledScreen, ChartBufferHasTheScreensPixels)
{
    EXPECT_EQ(form.chart.screenBuffer().size(), QSize(1650, 498));
    EXPECT_EQ(form.chart.screenBuffer().devicePixelRatio(), 2.0);
}

TEST_F(ScaledScreen, PicturesStayAtTheChartsSizeAndRatioOne)
{
    const QImage picture = form.render();
    EXPECT_EQ(picture.size(), QSize(825, 249));
    EXPECT_EQ(picture.devicePixelRatio(), 1.0);
}

// The left axis label "200", drawn at the screen's density: each of its digits stands
// apart, with background columns between the two zeros.
TEST_F(ScaledScreen, LabelDigitsAreSeparatedByBackground)
{
    const QImage &buffer = form.chart.screenBuffer();
    const int row = 2 * form.chart.LeftAxis().mapping().toPixel(200);
    const int axisColumn = 2 * form.chart.BottomAxis().mapping().start();
    const QRgb background = toQColor(clSilver).rgb();
    // Runs of columns with ink, right to left from the axis' ticks: "0", "0", "2".
    std::vector<int> runs;
    bool inInk = false;
    for (int x = axisColumn - 16; x > axisColumn - 90; --x) {
        bool ink = false;
        for (int y = row - 12; y <= row + 12; ++y)
            ink = ink || buffer.pixel(x, y) != background;
        if (ink && !inInk)
            runs.push_back(0);
        if (ink)
            ++runs.back();
        inInk = ink;
    }
    ASSERT_EQ(runs.size(), 3u) << "expected the digits 2, 0, 0 apart";
    EXPECT_GT(runs[0], 4);
    EXPECT_GT(runs[1], 4);
}

} // namespace
