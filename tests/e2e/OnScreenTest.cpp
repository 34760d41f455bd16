// The window as an X server shows it: after many display ticks, each repainting only
// what changed and sending only that to the server, the screen holds the same pixels as
// one full drawing of every widget.

#include "app/Form1.h"
#include "chart/Chart.h"
#include "tests/support/HeldFrames.h"
#include "widgets/SpinEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QImage asRgb32(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

// How many pixels differ, and where the first one is.
int differingPixels(const QImage &a, const QImage &b, QPoint &first)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y) && count++ == 0)
                first = QPoint(x, y);
        }
    }
    return count;
}

class OnScreenTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X server: run through scripts/on-virtual-display.sh";
        for (QCheckBox *box : form.BarBox)
            box->setChecked(true);
        for (QCheckBox *box : form.TraceBox)
            box->setChecked(true);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        // No blinking text cursor that one picture could catch and the other not.
        if (QWidget *focused = QApplication::focusWidget())
            focused->clearFocus();
    }

    void setReadings(int tick)
    {
        for (int ch = 0; ch < channelCount; ++ch)
            form.state().adcValue[std::size_t(ch)] = (tick * (7 + 3 * ch) + 150 * ch) % 1024;
    }

    void expectScreenEqualsAFullDrawing()
    {
        // The ticks of the last frame are painted once that frame is over.
        ASSERT_TRUE(paintHeldFrames(form.frameGate()));
        ASSERT_GT(form.Chart1->drawingPasses(), form.Chart1->wholeRedraws()) << "the ticks drew no bands";

        const QImage onScreen = asRgb32(form.screen()->grabWindow(form.winId()).toImage());
        form.Chart1->Invalidate(); // the grab below draws the chart in one full pass
        const QImage fullDrawing = asRgb32(form.grab().toImage());
        ASSERT_EQ(onScreen.size(), fullDrawing.size());
        QPoint first;
        EXPECT_EQ(differingPixels(onScreen, fullDrawing, first), 0) << "first at " << first.x() << "," << first.y();
    }

    TForm1 form;
};

TEST_F(OnScreenTest, theScreenEqualsAFullDrawingAfterManyTicks)
{
    // Less than a sweep (201 ticks at the designed settings): every tick is a band.
    for (int tick = 0; tick < 180; ++tick) {
        setReadings(tick);
        form.Timer1Timer();
        QCoreApplication::processEvents();
    }
    expectScreenEqualsAFullDrawing();
}

TEST_F(OnScreenTest, atTheFastestSettingsTheScreenEqualsAFullDrawingAfterTheLastFrame)
{
    form.SpinEdit1->setValue(1);
    form.Button5Click();
    form.SpinEdit2->setValue(1);
    form.Button6Click();
    form.SpinEdit4->setValue(100000);
    form.Button7Click();
    int ticks = 0;
    QObject::connect(form.Timer1, &PeriodicTimer::timeout, [&] { setReadings(++ticks); });
    form.Timer1->start();
    QTest::qWait(500);
    form.Timer1->stop();
    ASSERT_GT(ticks, 0);
    expectScreenEqualsAFullDrawing();
}

} // namespace
