#include "app/Form1.h"
#include "chart/Chart.h"
#include "chart/LineSeries.h"
#include "runtime/Application.h"
#include "runtime/Exception.h"
#include "serial/ComPort.h"
#include "tests/support/FullFolder.h"
#include "tests/support/ModalWatcher.h"
#include "tests/support/PtyPair.h"
#include "tests/support/SeriesPicture.h"
#include "widgets/AdvCircularProgress.h"
#include "widgets/AdvProgress.h"
#include "widgets/CircularSegments.h"
#include "widgets/FolderDialog.h"
#include "widgets/SpinEdit.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class PictureSavingTest : public testing::Test
{
protected:
    PictureSavingTest()
    {
        // Short sweeps: 0, 10, .. 100, eleven ticks each.
        form.SpinEdit4->setValue(100);
        form.Button7->click();
        answerFolder(folder.path());
    }

    void answerFolder(const std::optional<QString> &path)
    {
        form.FolderDialog1->setChooser([path](const QString &, const QString &, QWidget *) { return path; });
    }

    QString seriesFile(int number) const { return writtenSeriesPicture(folder.path(), number, since); }

    // One tick with a reading that differs from tick to tick, remembered for replay.
    void tick()
    {
        const std::int32_t value = 50 + 97 * (m_ticks++ % 11);
        form.state().adcValue[0] = value;
        m_sweep.push_back({form.state().sweepX, value});
        form.Timer1Timer();
        if (form.state().sweepX == 0) {
            m_lastSweep = m_sweep;
            m_sweep.clear();
        }
    }

    void sweeps(int count)
    {
        for (int i = 0; i < count * 11; ++i)
            tick();
    }

    // The chart as it looked with the last whole sweep on it.
    QImage lastSweepPicture()
    {
        TLineSeries *series = form.Series[0];
        for (const auto &[x, y] : m_lastSweep)
            series->AppendPoint(x, y, QString(), clBlack);
        QImage picture = form.Chart1->RenderBitmap(clWhite, QRect(0, 0, 825, 249));
        series->ClearPoints();
        return picture.convertToFormat(QImage::Format_RGB32);
    }

    QTemporaryDir folder;
    TForm1 form;
    const QDate since = QDate::currentDate(); // before anything is written

private:
    int m_ticks = 0;
    std::vector<std::pair<std::int32_t, std::int32_t>> m_sweep;
    std::vector<std::pair<std::int32_t, std::int32_t>> m_lastSweep;
};

TEST_F(PictureSavingTest, aSeriesOfThreeWritesTwoOneZeroAtConsecutiveWrapsEachTheWholeSweep)
{
    ModalWatcher watcher;
    form.SpinEdit3->setValue(3);
    form.Button4->click();
    EXPECT_TRUE(form.state().savingSeries);
    EXPECT_FALSE(form.Label2->isHidden());
    EXPECT_FALSE(form.AdvCircularProgress1->isHidden());
    EXPECT_TRUE(form.AdvCircularProgress1->isEnabled());

    for (int number : {2, 1, 0}) {
        sweeps(1);
        const QImage written(seriesFile(number));
        ASSERT_FALSE(written.isNull()) << seriesFile(number).toStdString();
        EXPECT_EQ(written.size(), QSize(825, 249));
        EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), lastSweepPicture())
            << "picture " << number << " shows the sweep with the wrapping tick's point";
        EXPECT_EQ(form.Series[0]->PointCount(), 0) << "the traces are cleared after the picture";
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 3);
    EXPECT_FALSE(form.state().savingSeries);
    EXPECT_TRUE(form.Label2->isHidden());
    EXPECT_TRUE(form.AdvCircularProgress1->isHidden());
    EXPECT_FALSE(form.AdvCircularProgress1->isEnabled());
    ASSERT_EQ(watcher.boxes().size(), 1);
    EXPECT_EQ(watcher.boxes().front().text, QStringLiteral("Серия картинок сохранена"));

    sweeps(1);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 3) << "the series is over";
}

TEST_F(PictureSavingTest, theSavingLabelIsDrawnOverTheTurningIndicator)
{
    form.Button4->click();
    ASSERT_FALSE(form.Label2->isHidden());
    // The label's letters: the pixels it paints in full red when drawn alone.
    QImage letters(form.Label2->size(), QImage::Format_ARGB32);
    letters.fill(Qt::transparent);
    form.Label2->render(&letters, QPoint(), QRegion(), QWidget::DrawChildren);
    const QRgb red = qRgb(255, 0, 0);
    const QRect ring = form.AdvCircularProgress1->geometry();
    const CircularSegments &segments = form.AdvCircularProgress1->Segments();

    for (int step = 0; step < 3; ++step) {
        const QImage panel = form.Panel1->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int overSegments = 0;
        int covered = 0;
        for (int y = 0; y < letters.height(); ++y) {
            for (int x = 0; x < letters.width(); ++x) {
                const QPoint at = form.Label2->pos() + QPoint(x, y);
                const QPoint inRing = at - ring.topLeft();
                if (letters.pixel(x, y) != red || !ring.contains(at) || !segments.clip().contains(inRing))
                    continue;
                const QPointF centre = QPointF(inRing) + QPointF(0.5, 0.5);
                for (int i = 1; i <= CircularSegments::segmentCount; ++i)
                    overSegments += segments.segment(i).contains(centre);
                covered += panel.pixel(at) != red;
            }
        }
        EXPECT_GT(overSegments, 20) << "the label's letters cross the ring's segments";
        EXPECT_EQ(covered, 0) << "letter pixels painted over by the ring, step " << step;
        form.AdvCircularProgress1->AdvanceSegment();
    }
    form.AdvCircularProgress1->setEnabled(false);
}

TEST_F(PictureSavingTest, aSeriesOfOneEndsAtTheFirstWrap)
{
    ModalWatcher watcher;
    form.Button4->click();
    sweeps(1);
    EXPECT_TRUE(QFile::exists(seriesFile(0)));
    EXPECT_FALSE(form.state().savingSeries);
    EXPECT_EQ(watcher.boxes().size(), 1);
}

TEST_F(PictureSavingTest, cancellingTheFolderChangesNothing)
{
    answerFolder(std::nullopt);
    form.Button4->click();
    EXPECT_FALSE(form.state().savingSeries);
    EXPECT_TRUE(form.Label2->isHidden());
    EXPECT_TRUE(form.AdvCircularProgress1->isHidden());

    ModalWatcher watcher;
    form.Button3->click();
    EXPECT_TRUE(watcher.boxes().isEmpty());
    EXPECT_FALSE(form.Timer1->isActive()) << "a cancelled single picture leaves a stopped display still";
}

TEST_F(PictureSavingTest, aFolderThatVanishesEndsTheSeriesOnceAndTheDisplayGoesOn)
{
    QTemporaryDir doomed;
    answerFolder(doomed.path());
    form.SpinEdit3->setValue(5);
    form.Button4->click();
    ASSERT_TRUE(doomed.remove());

    ModalWatcher watcher;
    for (int i = 0; i < 10; ++i)
        tick();
    EXPECT_THROW(form.Timer1Timer(), EFCreateError) << "the wrapping tick reports the failure";
    EXPECT_FALSE(form.state().savingSeries);
    EXPECT_TRUE(form.Label2->isHidden());
    EXPECT_TRUE(form.AdvCircularProgress1->isHidden());
    EXPECT_EQ(form.state().sweepX, 0) << "the sweep restarts";
    EXPECT_EQ(form.Series[0]->PointCount(), 0);

    sweeps(2);
    EXPECT_TRUE(watcher.boxes().isEmpty()) << "no further attempts, no further boxes";
}

TEST_F(PictureSavingTest, aSinglePictureIsNamedAndReported)
{
    ModalWatcher watcher;
    for (int i = 0; i < 4; ++i)
        tick();
    form.Button3->click();
    const QStringList files = QDir(folder.path()).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files.front().startsWith(QStringLiteral("one_")));
    ASSERT_EQ(watcher.boxes().size(), 1);
    EXPECT_EQ(watcher.boxes().front().text,
              QStringLiteral("Сохранено в файл ") + folder.path() + u'/' + files.front());
    EXPECT_EQ(form.Series[0]->PointCount(), 4) << "a single picture leaves the traces alone";

    form.Button3->click();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2) << "never replaces an earlier picture";
}

TEST_F(PictureSavingTest, aSinglePictureThatFailsRestartsTheDisplayBeforeTheErrorShows)
{
    PtyPair board; // running
    form.ComPort1->setPort(board.slavePath());
    form.Button1->click();
    // A folder nobody may create files in, not even root.
    answerFolder(QStringLiteral("/proc"));
    bool timerRanDuringBox = false;
    ModalWatcher watcher([&](QDialog *box) {
        timerRanDuringBox = form.Timer1->isActive();
        box->reject();
    });
    form.Button3->click();
    ASSERT_EQ(watcher.boxes().size(), 1);
    EXPECT_TRUE(watcher.boxes().front().text.startsWith(QStringLiteral("Cannot create file \"/proc/one_")))
        << watcher.boxes().front().text.toStdString();
    EXPECT_TRUE(timerRanDuringBox);
    EXPECT_TRUE(form.Timer1->isActive());
    form.Button2->click();
}

TEST_F(PictureSavingTest, aSinglePictureWhileStoppedLeavesBarsAndTracesStill)
{
    // At a 1 ms period a display tick left running moves them many times during the wait.
    form.SpinEdit1->setValue(1);
    form.Button5->click();
    ModalWatcher watcher;
    struct Row { const char *what; std::optional<QString> folder; };
    const Row rows[] = {
        {"saved", folder.path()},
        {"cancelled", std::nullopt},
        {"failed", QStringLiteral("/proc")},
    };
    for (const Row &row : rows) {
        tick();
        form.state().adcValue[0] = 1000; // came after the last tick, before Stop
        const int points = form.Series[0]->PointCount();
        const std::int32_t bar = form.AdvProgress[0]->Position();
        answerFolder(row.folder);
        form.Button3->click();
        QTest::qWait(50);
        EXPECT_FALSE(form.Timer1->isActive()) << row.what;
        EXPECT_EQ(form.Series[0]->PointCount(), points) << row.what;
        EXPECT_EQ(form.AdvProgress[0]->Position(), bar) << row.what;
    }
    EXPECT_EQ(watcher.boxes().size(), 2) << "the saved message and the error";
}

QStringList allEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

TEST_F(PictureSavingTest, linksPlantedUnderSeriesNamesAreReplacedAndNeverFollowed)
{
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(QStringLiteral("victim"));
    {
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a picture");
    }
    ASSERT_TRUE(QFile::link(target, seriesFile(1)));
    ASSERT_TRUE(QFile::link(elsewhere.filePath(QStringLiteral("made.bmp")), seriesFile(0)));

    ModalWatcher watcher;
    form.SpinEdit3->setValue(2);
    {
        ModalWatcher replace(ModalWatcher::click(QStringLiteral("Да")));
        form.Button4->click();
        EXPECT_EQ(replace.boxes().size(), 1) << "links under the names count as pictures there";
    }
    sweeps(2);
    for (int number : {1, 0}) {
        const QFileInfo picture(seriesFile(number));
        EXPECT_FALSE(picture.isSymLink()) << number;
        EXPECT_TRUE(picture.isFile());
        EXPECT_EQ(picture.size(), 54 + 2476 * 249) << "a whole 825 x 249 picture";
        EXPECT_FALSE(QImage(seriesFile(number)).isNull());
    }
    QFile victim(target);
    ASSERT_TRUE(victim.open(QIODevice::ReadOnly));
    EXPECT_EQ(victim.readAll(), QByteArray("not a picture"));
    EXPECT_EQ(allEntries(elsewhere.path()), QStringList{QStringLiteral("victim")});
    EXPECT_EQ(watcher.boxes().size(), 1) << "the series ends as usual";
}

TEST_F(PictureSavingTest, aFullDiscReportsTheWriteErrorAndKeepsTheEarlierPicture)
{
    FullFolder disc;
    answerFolder(disc.path());
    ModalWatcher watcher;
    form.Button4->click();
    sweeps(1); // picture 0 of a first series
    ASSERT_EQ(watcher.boxes().size(), 1);
    QFile earlier(writtenSeriesPicture(disc.path(), 0, since));
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    const QByteArray earlierBytes = earlier.readAll();
    earlier.close();
    disc.fill(100 * 1024);

    {
        ModalWatcher replace(ModalWatcher::click(QStringLiteral("Да")));
        form.Button4->click();
    }
    for (int i = 0; i < 10; ++i)
        tick();
    // What the timer's dispatch does with the wrapping tick.
    TApplication::guard([&] { form.Timer1Timer(); });
    ASSERT_EQ(watcher.boxes().size(), 2);
    EXPECT_EQ(watcher.boxes().back().text, QStringLiteral("Stream write error."));
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), earlierBytes) << "the earlier picture of that name is whole";
    EXPECT_FALSE(form.state().savingSeries) << "the failed picture ends the series";
    EXPECT_TRUE(form.AdvCircularProgress1->isHidden());
    tick();
    EXPECT_EQ(form.Series[0]->PointCount(), 1) << "the display goes on with a new sweep";

    form.Button3->click();
    ASSERT_EQ(watcher.boxes().size(), 3);
    EXPECT_EQ(watcher.boxes().back().text, QStringLiteral("Stream write error."));
    EXPECT_FALSE(form.Timer1->isActive()) << "stopped, the display stays still after the failed picture";
    EXPECT_EQ(allEntries(disc.path()), QStringList{QFileInfo(earlier).fileName()})
        << "no single picture, no temporary file";
}

} // namespace
