#include "app/Form1.h"
#include "chart/Chart.h"
#include "chart/LineSeries.h"
#include "tests/support/HeldFrames.h"
#include "tests/support/PixelDifference.h"
#include "widgets/SpinEdit.h"

#include <QBackingStore>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <gtest/gtest.h>

namespace {

using Clock = std::chrono::steady_clock;

class PaintCount : public QObject
{
public:
    explicit PaintCount(QWidget &widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        events += event->type() == QEvent::Paint;
        return false;
    }
    int events = 0;
};

// The main window on screen with every bar and trace shown, run by its own display timer.
class FramePacing : public testing::Test
{
protected:
    FramePacing()
    {
        for (QCheckBox *box : form.BarBox)
            box->setChecked(true);
        for (QCheckBox *box : form.TraceBox)
            box->setChecked(true);
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        QObject::connect(form.Timer1, &PeriodicTimer::timeout, [this] { onTick(); });
    }

    void useSettings(int period, int increment, int length)
    {
        form.SpinEdit1->setValue(period);
        form.Button5Click();
        form.SpinEdit2->setValue(increment);
        form.Button6Click();
        form.SpinEdit4->setValue(length);
        form.Button7Click();
    }

    // Runs the display for `wait`, readings changing at every tick, then lets the frame
    // that was held at the end be painted.
    std::chrono::duration<double> run(std::chrono::milliseconds wait)
    {
        const auto start = Clock::now();
        form.Timer1->start();
        QTest::qWait(int(wait.count()));
        form.Timer1->stop();
        const auto elapsed = Clock::now() - start;
        EXPECT_TRUE(paintHeldFrames(form.frameGate()));
        return elapsed;
    }

    // What the window shows of the chart, against the chart drawn in one full pass.
    int chartDifferenceFromFullPass()
    {
        const auto *stored = dynamic_cast<const QImage *>(form.backingStore()->paintDevice());
        if (!stored)
            return -1;
        const QImage shown = stored->copy(form.Chart1->geometry()).convertToFormat(QImage::Format_RGB32);
        form.Chart1->Invalidate();
        return differingPixels(shown, form.Chart1->grab().toImage().convertToFormat(QImage::Format_RGB32));
    }

    std::function<void()> afterTick;
    int ticks = 0;
    TForm1 form;
    PaintCount chartPaints{*form.Chart1};

private:
    void onTick()
    {
        ++ticks;
        for (int ch = 0; ch < channelCount; ++ch)
            form.state().adcValue[std::size_t(ch)] = (ticks * (7 + 3 * ch) + 150 * ch) % 1024;
        if (afterTick)
            afterTick();
    }
};

TEST_F(FramePacing, atTheFastestSettingsTheWindowPaintsAFrameAtATimeAndShowsEveryTick)
{
    useSettings(1, 1, 100000);
    const int paintsBefore = chartPaints.events;
    const double seconds = run(std::chrono::milliseconds(600)).count();
    const double frames = seconds * 1e6 / double(form.frameGate().frameInterval().count());
    const int paints = chartPaints.events - paintsBefore;
    ASSERT_GT(ticks, 0);
    // One frame may start at each end of the run; the frame after it paints what was held.
    EXPECT_LE(paints, int(frames) + 3) << ticks << " ticks";
    EXPECT_GT(paints, 0);
    EXPECT_EQ(form.Series[0]->PointCount(), ticks);
    EXPECT_EQ(chartDifferenceFromFullPass(), 0);
}

TEST_F(FramePacing, atTheDesignedPeriodEachTickIsPaintedWithoutWaitingForAFrame)
{
    // Qt's posted repaint runs before any timer that falls due after the tick.
    int unpainted = 0;
    afterTick = [this, &unpainted] {
        const int before = chartPaints.events;
        QTimer::singleShot(1, &form, [this, before, &unpainted] { unpainted += chartPaints.events == before; });
    };
    run(std::chrono::milliseconds(550));
    ASSERT_GE(ticks, 3);
    EXPECT_EQ(unpainted, 0) << "of " << ticks << " ticks";
    EXPECT_EQ(chartDifferenceFromFullPass(), 0);
}

} // namespace
