#include "app/ChannelTable.h"
#include "app/Form1.h"
#include "chart/Chart.h"
#include "chart/LineSeries.h"
#include "serial/ComPort.h"
#include "tests/support/ModalWatcher.h"
#include "tests/support/PtyPair.h"
#include "tests/support/SeriesPicture.h"
#include "widgets/AdvProgress.h"
#include "widgets/FolderDialog.h"
#include "widgets/SpinEdit.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// The whole program path: a board on a pseudo-terminal, the serial engine and its
// thread, the hand-over, the decoder, the display tick and the chart.
class LiveDisplayTest : public testing::Test
{
protected:
    LiveDisplayTest()
    {
        form.ComPort1->setPort(board.slavePath());
        for (QCheckBox *box : form.BarBox)
            box->setChecked(true);
        for (QCheckBox *box : form.TraceBox)
            box->setChecked(true);
    }

    void start()
    {
        form.Button1->click();
        ASSERT_TRUE(form.ComPort1->Connected());
        form.Timer1->stop(); // ticks are driven by the test unless it says otherwise
    }

    bool waitForReadings(const std::array<std::int32_t, channelCount> &expected)
    {
        return QTest::qWaitFor([&] { return form.state().adcValue == expected; }, 10000);
    }

    PtyPair board;
    TForm1 form;
};

TEST_F(LiveDisplayTest, readingsFromTheLineReachBarsAndTraces)
{
    start();
    // Split, bursty and with line ends, as a real adapter delivers it.
    board.write("10b\r\n2");
    board.write("0c30d\r\n40e 50f\r\n6");
    board.write("0a12x4d");
    ASSERT_TRUE(waitForReadings({10, 20, 30, 40, 50, 60}));
    EXPECT_EQ(form.decoder().droppedCount(), 1u);

    for (int i = 0; i < 3; ++i)
        form.Timer1Timer();
    for (int ch = 0; ch < channelCount; ++ch) {
        EXPECT_EQ(form.AdvProgress[ch]->Position(), 10 * (ch + 1));
        EXPECT_EQ(form.Series[ch]->PointCount(), 3);
    }
    EXPECT_EQ(form.state().sweepX, 30);

    board.write("999b");
    ASSERT_TRUE(waitForReadings({999, 20, 30, 40, 50, 60}));
    form.Button2->click();
    EXPECT_FALSE(form.ComPort1->Connected());
    EXPECT_TRUE(form.Button1->isEnabled());

    form.Button1->click();
    ASSERT_TRUE(form.ComPort1->Connected()) << "Stop then Start opens the port again";
    form.Timer1->stop();
    form.Timer1Timer();
    EXPECT_EQ(form.Series[0]->PointCount(), 4) << "the sweep goes on where it was";
    board.write("7c");
    ASSERT_TRUE(waitForReadings({999, 7, 30, 40, 50, 60}));
}

TEST_F(LiveDisplayTest, closingTheWindowWhileRunningClosesThePort)
{
    start();
    form.Timer1->start();
    form.close();
    EXPECT_FALSE(form.ComPort1->Connected());
    EXPECT_FALSE(form.Timer1->isActive());
}

TEST_F(LiveDisplayTest, anUnpluggedBoardNeverHangsTheWindow)
{
    start();
    board.write("5b");
    ASSERT_TRUE(waitForReadings({5, 0, 0, 0, 0, 0}));
    board.closeMaster();
    form.Timer1Timer();
    form.Button2->click();
    EXPECT_FALSE(form.ComPort1->Connected());
    EXPECT_TRUE(form.Button1->isEnabled());

    ModalWatcher watcher;
    form.Button1->click();
    ASSERT_EQ(watcher.boxes().size(), 1) << "Start reports the missing device";
    EXPECT_TRUE(watcher.boxes().front().text.startsWith(QStringLiteral("Unable to open com port")));
    EXPECT_TRUE(form.Button1->isEnabled());
    EXPECT_EQ(form.AdvProgress[0]->Position(), 5) << "readings already shown stay";
}

TEST_F(LiveDisplayTest, aSeriesOfTwoPicturesFromLiveData)
{
    QTemporaryDir folder;
    form.FolderDialog1->setChooser(
        [&folder](const QString &, const QString &, QWidget *) { return std::optional<QString>(folder.path()); });
    form.SpinEdit1->setValue(5);
    form.Button5->click();
    form.SpinEdit4->setValue(40);
    form.Button7->click();
    form.SpinEdit3->setValue(2);
    const QDate since = QDate::currentDate();

    ModalWatcher watcher;
    // The readings are in before the first tick, so every point of both sweeps shows them.
    start();
    const std::array<std::int32_t, channelCount> sent{800, 400, 0, 0, 0, 0};
    board.write("800b400c");
    ASSERT_TRUE(waitForReadings(sent));
    form.Button4->click();
    form.Timer1->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.state().savingSeries; }, 20000));
    form.Button2->click();

    // A sweep of 0 .. 40 in steps of 10, every trace at its channel's reading.
    for (int ch = 0; ch < channelCount; ++ch) {
        form.Series[ch]->ClearPoints();
        for (int x = 0; x <= 40; x += 10)
            form.Series[ch]->AppendPoint(x, sent[ch], QString(), channelTable[ch].pointColor);
    }
    const QImage expected = form.Chart1->RenderBitmap(clWhite, QRect(0, 0, 825, 249)).convertToFormat(QImage::Format_RGB32);
    for (int number : {1, 0}) {
        const QImage picture(writtenSeriesPicture(folder.path(), number, since));
        ASSERT_FALSE(picture.isNull()) << number;
        EXPECT_EQ(picture.convertToFormat(QImage::Format_RGB32), expected) << "picture " << number;
    }
    ASSERT_EQ(watcher.boxes().size(), 1);
    EXPECT_EQ(watcher.boxes().front().text, QStringLiteral("Серия картинок сохранена"));
}

TEST_F(LiveDisplayTest, aSinglePictureKeepsTheDisplayRunningOnlyWhileThePortIsOpen)
{
    QTemporaryDir folder;
    bool vanishWhileChoosing = false;
    form.FolderDialog1->setChooser([&](const QString &, const QString &, QWidget *) {
        if (vanishWhileChoosing) {
            board.closeMaster();
            EXPECT_TRUE(QTest::qWaitFor([&] { return !form.ComPort1->Connected(); }, 20000));
        }
        return std::optional<QString>(folder.path());
    });
    ModalWatcher watcher;
    start();
    form.Timer1->start();

    form.Button3->click();
    EXPECT_TRUE(form.Timer1->isActive()) << "running: the display goes on";
    const int points = form.Series[0]->PointCount();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.Series[0]->PointCount() > points; }, 10000));

    vanishWhileChoosing = true;
    form.Button3->click();
    EXPECT_FALSE(form.Timer1->isActive()) << "the board vanished while the folder was chosen: stopped";
    EXPECT_TRUE(form.Button1->isEnabled());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(watcher.boxes().size(), 3) << "two saved messages and the vanished device";
}

TEST_F(LiveDisplayTest, aBoardThatVanishesWhileReadingsFlowStopsTheWindowWithOneBox)
{
    // The port is a link, as udev names an adapter, so that the board can come back.
    QTemporaryDir links;
    const QString link = links.filePath(QStringLiteral("board"));
    ASSERT_TRUE(QFile::link(board.slavePath(), link));
    form.ComPort1->setPort(link);
    ModalWatcher watcher;
    form.Button1->click();
    ASSERT_TRUE(form.ComPort1->Connected());
    for (int i = 0; i < 200; ++i)
        board.write("101b202c303d");
    ASSERT_TRUE(waitForReadings({101, 202, 303, 0, 0, 0}));
    board.closeMaster();

    ASSERT_TRUE(QTest::qWaitFor([&] { return !watcher.boxes().isEmpty(); }, 20000));
    EXPECT_EQ(watcher.boxes().front().text, QStringLiteral("ReadFile function failed (win error code: 5)"));
    EXPECT_EQ(watcher.boxes().front().icon, QMessageBox::Critical);
    EXPECT_FALSE(form.ComPort1->Connected());
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_TRUE(form.Button1->isEnabled());
    EXPECT_FALSE(form.Button2->isEnabled());
    QCoreApplication::processEvents(); // whatever else was queued has run
    EXPECT_EQ(watcher.boxes().size(), 1);

    PtyPair back;
    QFile::remove(link);
    ASSERT_TRUE(QFile::link(back.slavePath(), link));
    form.Button1->click();
    ASSERT_TRUE(form.ComPort1->Connected()) << "Start works again once the board is back";
    EXPECT_TRUE(form.Timer1->isActive());
    back.write("404e");
    EXPECT_TRUE(waitForReadings({101, 202, 303, 404, 0, 0}));
    EXPECT_EQ(watcher.boxes().size(), 1);
    form.Button2->click();
}

} // namespace
