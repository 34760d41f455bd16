#include "app/Form1.h"
#include "chart/Chart.h"
#include "chart/ChartReadout.h"
#include "chart/LineSeries.h"
#include "runtime/Application.h"
#include "serial/ComPort.h"
#include "tests/support/ModalWatcher.h"
#include "widgets/AdvCircularProgress.h"
#include "widgets/AdvProgress.h"
#include "widgets/SpinEdit.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class Form1Test : public testing::Test
{
protected:
    TForm1 form;
};

TEST_F(Form1Test, startsStoppedWithTheDesignedValues)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Ondrix"));
    EXPECT_EQ(form.size(), QSize(826, 561));
    EXPECT_TRUE(form.Button1->isEnabled());
    EXPECT_FALSE(form.Button2->isEnabled());
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(form.Timer1->interval(), 100);

    EXPECT_EQ(form.SpinEdit1->Value(), 100);
    EXPECT_EQ(form.SpinEdit2->Value(), 10);
    EXPECT_EQ(form.SpinEdit5->Value(), 1);
    EXPECT_EQ(form.SpinEdit4->Value(), 2000);
    EXPECT_EQ(form.SpinEdit3->Value(), 1);

    const AcquisitionState &state = form.state();
    EXPECT_EQ(state.chartLength, 2000);
    EXPECT_EQ(state.multiplier, 1);
    EXPECT_EQ(state.sweepIncrement, 10);
    EXPECT_EQ(state.sweepX, 0);
    EXPECT_FALSE(state.savingSeries);

    for (int ch = 0; ch < channelCount; ++ch) {
        EXPECT_EQ(form.BarBox[ch]->isChecked(), ch == 0) << ch;
        EXPECT_EQ(form.TraceBox[ch]->isChecked(), ch == 0) << ch;
        EXPECT_EQ(form.AdvProgress[ch]->Position(), 0);
        EXPECT_EQ(form.AdvProgress[ch]->Max(), 1023);
        EXPECT_EQ(form.Series[ch]->PointCount(), 0);
    }
    EXPECT_EQ(form.BarBox[0]->text(), QStringLiteral("ADC0"));
    EXPECT_EQ(form.TraceBox[5]->text(), QStringLiteral("ADC 5"));
    EXPECT_TRUE(form.Label2->isHidden());
    EXPECT_TRUE(form.AdvCircularProgress1->isHidden());
    EXPECT_FALSE(form.AdvCircularProgress1->isEnabled());
    EXPECT_EQ(form.Chart1->BottomAxis().Maximum(), 2000);
    EXPECT_EQ(form.Chart1->LeftAxis().Minimum(), -10);
    EXPECT_EQ(form.Chart1->LeftAxis().Maximum(), 1200);
    EXPECT_EQ(form.ComPort1->Port(), QStringLiteral("COM1"));
}

TEST_F(Form1Test, controlsSitWhereTheyAreDesigned)
{
    EXPECT_EQ(form.Chart1->geometry(), QRect(0, 312, 825, 249));
    EXPECT_EQ(form.Button1->geometry(), QRect(376, 136, 75, 25));
    EXPECT_EQ(form.AdvProgress[5]->geometry(), QRect(304, 16, 17, 225));
    EXPECT_EQ(form.BarBox[1]->geometry(), QRect(64, 264, 57, 17));
    EXPECT_EQ(form.TraceBox[4]->geometry().top(), 289);
    EXPECT_EQ(form.SpinEdit3->geometry(), QRect(104, 43, 121, 22));
    EXPECT_EQ(form.AdvCircularProgress1->geometry(), QRect(288, 32, 81, 73));

    // Tab walks the window in its designed order.
    const QList<QWidget *> expected = {form.Button1, form.Button2, form.TraceBox[0]};
    QWidget *walk = form.Button1;
    for (QWidget *next : expected.mid(1)) {
        walk = walk->nextInFocusChain();
        while (walk->focusPolicy() == Qt::NoFocus)
            walk = walk->nextInFocusChain();
        EXPECT_EQ(walk, next);
    }
}

TEST_F(Form1Test, multiplierSetScalesBarsAndAxisButKeepsStoredReadings)
{
    form.state().adcValue[2] = 500;
    form.SpinEdit5->setValue(3);
    form.Button8->click();
    EXPECT_EQ(form.state().multiplier, 3);
    EXPECT_EQ(form.Chart1->LeftAxis().Maximum(), 3069);
    EXPECT_EQ(form.Chart1->LeftAxis().Minimum(), -10);
    for (TAdvProgress *bar : form.AdvProgress)
        EXPECT_EQ(bar->Max(), 3069);
    EXPECT_EQ(form.state().adcValue[2], 500);
    EXPECT_EQ(form.Chart1->BottomAxis().Maximum(), 2000);
}

TEST_F(Form1Test, otherSetButtonsChangeOnlyTheirRow)
{
    form.state().sweepX = 300;
    form.SpinEdit4->setValue(500);
    form.Button7->click();
    EXPECT_EQ(form.state().chartLength, 500);
    EXPECT_EQ(form.Chart1->BottomAxis().Maximum(), 500);

    form.SpinEdit2->setValue(25);
    form.Button6->click();
    EXPECT_EQ(form.state().sweepIncrement, 25);
    EXPECT_EQ(form.state().sweepX, 300);

    form.SpinEdit1->setValue(40);
    form.Button5->click();
    EXPECT_EQ(form.Timer1->interval(), 40);
    EXPECT_FALSE(form.Timer1->isActive()) << "setting the period does not start the display";
}

TEST_F(Form1Test, periodSetWhileRunningKeepsTheTimerRunning)
{
    form.Timer1->start();
    form.SpinEdit1->setValue(250);
    form.Button5->click();
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_EQ(form.Timer1->interval(), 250);

    // Set with the same period, pressed again and again, must not hold the next tick back.
    // A long period, so that no tick comes within the wait even on a loaded machine.
    form.SpinEdit1->setValue(30000);
    form.Button5->click();
    QTest::qWait(50);
    form.Button5->click();
    EXPECT_LE(form.Timer1->remainingTime(), 29960) << "the time already elapsed is kept";
    form.Timer1->stop();
}

TEST_F(Form1Test, startOnAMissingPortShowsTheErrorAndChangesNothing)
{
    form.ComPort1->setPort(QStringLiteral("ttyOndrixNoSuchDevice"));
    ModalWatcher watcher;
    form.Button1->click();
    ASSERT_EQ(watcher.boxes().size(), 1);
    EXPECT_EQ(watcher.boxes().front().icon, QMessageBox::Critical);
    EXPECT_EQ(watcher.boxes().front().text, QStringLiteral("Unable to open com port (win error code: 2)"));
    EXPECT_TRUE(form.Button1->isEnabled());
    EXPECT_FALSE(form.Button2->isEnabled());
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_FALSE(form.ComPort1->Connected());
}

class DisplayTickTest : public Form1Test
{
protected:
    void ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            form.Timer1Timer();
    }
    AcquisitionState &state = form.state();
};

TEST_F(DisplayTickTest, defaultSweepHas201PointsAndWrapsOnThe201stTick)
{
    state.adcValue[0] = 700;
    ticks(200);
    EXPECT_EQ(form.Series[0]->PointCount(), 200);
    EXPECT_EQ(state.sweepX, 2000) << "equal to the length: no wrap yet";
    EXPECT_EQ(form.AdvProgress[0]->Position(), 700);

    ticks(1);
    EXPECT_EQ(form.Series[0]->PointCount(), 0) << "the 201st tick plots X = 2000, then clears";
    EXPECT_EQ(state.sweepX, 0);

    ticks(1);
    EXPECT_EQ(form.Series[0]->PointCount(), 1);
    EXPECT_EQ(state.sweepX, 10);
}

TEST_F(DisplayTickTest, aLengthBelowOneIncrementKeepsTracesEmpty)
{
    form.SpinEdit4->setValue(10);
    form.Button7->click();
    form.SpinEdit2->setValue(500);
    form.Button6->click();
    for (QCheckBox *box : form.TraceBox)
        box->setChecked(true);
    ticks(3);
    for (TLineSeries *series : form.Series)
        EXPECT_EQ(series->PointCount(), 0);
    EXPECT_EQ(state.sweepX, 0);
}

TEST_F(DisplayTickTest, clearedBoxesFreezeBarsAndStopTracesGrowing)
{
    form.BarBox[1]->setChecked(true);
    form.TraceBox[1]->setChecked(true);
    state.adcValue[1] = 100;
    ticks(2);
    form.BarBox[1]->setChecked(false);
    form.TraceBox[1]->setChecked(false);
    state.adcValue[1] = 900;
    ticks(3);
    EXPECT_EQ(form.AdvProgress[1]->Position(), 100);
    EXPECT_EQ(form.Series[1]->PointCount(), 2);
    EXPECT_EQ(form.Series[0]->PointCount(), 5) << "the other channels go on";
    EXPECT_EQ(form.AdvProgress[2]->Position(), 0) << "a channel never shown stays at 0";
}

TEST_F(DisplayTickTest, aLengthSetBelowTheSweepWrapsAtTheNextTickAfterPlotting)
{
    ticks(50); // sweepX 500
    form.SpinEdit4->setValue(100);
    form.Button7->click();
    EXPECT_EQ(form.Series[0]->PointCount(), 50) << "setting the length draws nothing away";
    ticks(1);
    EXPECT_EQ(state.sweepX, 0);
    EXPECT_EQ(form.Series[0]->PointCount(), 0);
}

TEST_F(DisplayTickTest, readingsAreMultipliedOnlyWhenDecoded)
{
    form.SpinEdit5->setValue(3);
    form.Button8->click();
    form.decoder().decode("1000b");
    ticks(1);
    EXPECT_EQ(form.AdvProgress[0]->Position(), 3000);
}

TEST_F(Form1Test, escapeRemovesTheReadoutsMarkWhereverTheWindowsFocusIs)
{
    form.Timer1Timer();
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    const QPoint centre = form.Chart1->plotRect().toQRect().center();
    QTest::mouseMove(form.Chart1, centre);
    QTest::mouseClick(form.Chart1, Qt::LeftButton, Qt::NoModifier, centre);
    ASSERT_TRUE(form.Chart1->Readout().markPinned());
    form.Button3->setFocus(); // where a saved picture leaves it
    QTest::keyClick(form.Button3, Qt::Key_Escape);
    EXPECT_FALSE(form.Chart1->Readout().markPinned());
}

} // namespace
