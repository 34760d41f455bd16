#include "app/Form1.h"
#include "app/RecordMenu.h"
#include "app/RecordingMark.h"
#include "serial/ComPort.h"
#include "tests/app/RecordTestFiles.h"
#include "tests/app/RecordingWindow.h"
#include "tests/support/ModalWatcher.h"
#include "tests/support/PtyPair.h"
#include "widgets/AdvPanel.h"
#include "widgets/AdvProgress.h"
#include "widgets/FolderDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class RecordingMarkTest : public RecordingWindow
{
protected:
    RecordingMarkTest() : RecordingWindow(QStringLiteral("a-rather-long-name-for-a-recording-of-the-board-on-the-bench-of-the-laboratory.csv")) {}

    bool markShown() { return !form.recordingMark().isHidden(); }
};

TEST_F(RecordingMarkTest, startWithTheOptionShowsTheMarkClearOfEveryBarAndBox)
{
    form.recorder().arm(path);
    EXPECT_FALSE(markShown()) << "armed is not yet recording";
    form.Button1->click();
    ASSERT_TRUE(form.recorder().isRecording());
    ASSERT_TRUE(markShown());

    const RecordingMark &mark = form.recordingMark();
    EXPECT_TRUE(mark.text().startsWith(QStringLiteral("Запись a-rather"))) << mark.text().toStdString();
    EXPECT_TRUE(mark.text().endsWith(QStringLiteral("laboratory.csv")) && mark.text().contains(QChar(0x2026)))
        << "elided in the middle: " << mark.text().toStdString();
    EXPECT_TRUE(form.AdvPanel1->rect().contains(mark.geometry()));
    for (int ch = 0; ch < channelCount; ++ch) {
        EXPECT_FALSE(mark.geometry().intersects(form.AdvProgress[ch]->geometry())) << ch;
        EXPECT_FALSE(mark.geometry().intersects(form.BarBox[ch]->geometry())) << ch;
    }

    board.write("5b7c");
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.recorder().readingCount() == 2; }, 10000));
    EXPECT_EQ(mark.toolTipText(), path + QStringLiteral("\nЗаписано показаний: 2"));
    form.Button2->click();
    EXPECT_TRUE(markShown()) << "a recording goes on across Stop";
}

TEST_F(RecordingMarkTest, theMenuShowsAndHidesTheMark)
{
    form.recordMenu().startAction()->trigger();
    EXPECT_TRUE(markShown());
    form.recordMenu().stopAction()->trigger();
    EXPECT_FALSE(markShown());
}

TEST_F(RecordingMarkTest, aFailedRecordingTakesTheMarkAway)
{
    std::atomic<bool> closed = false;
    form.recorder().setOpener([&](const QString &name) { return std::make_unique<FullDiscFile>(name, 0, closed); });
    form.recordMenu().startAction()->trigger();
    ASSERT_TRUE(markShown());
    ModalWatcher watcher;
    form.recorder().flush(); // the header finds no room
    EXPECT_TRUE(QTest::qWaitFor([&] { return !markShown(); }, 10000));
    EXPECT_EQ(watcher.boxes().size(), 1);
}

TEST_F(RecordingMarkTest, aPictureTakenWhileRecordingIsThePictureWithout)
{
    form.FolderDialog1->setChooser(
        [this](const QString &, const QString &, QWidget *) { return std::optional(dir.path()); });
    for (int i = 0; i < 30; ++i) {
        form.state().adcValue[0] = 40 * i;
        form.Timer1Timer();
    }
    ModalWatcher watcher;
    form.Button3->click();
    form.recordMenu().startAction()->trigger();
    ASSERT_TRUE(markShown());
    form.Timer1->stop(); // nothing moves between the two pictures
    form.Button3->click();
    form.Timer1->stop();

    const QStringList pictures = QDir(dir.path()).entryList({QStringLiteral("*.bmp")}, QDir::Files);
    ASSERT_EQ(pictures.size(), 2);
    const QImage without(dir.filePath(pictures[0]));
    EXPECT_FALSE(without.isNull());
    EXPECT_EQ(QImage(dir.filePath(pictures[1])), without);
}

} // namespace
