// Pictures that cannot be written, and a long series at the fastest settings: one
// error box, no file left under a picture name, and a display that goes on. A full disc
// is tested with the window alone (PictureSavingTest).

#include "tests/faults/FaultRun.h"
#include "tests/faults/WindowOnBoard.h"
#include "tests/support/ModalWatcher.h"
#include "tests/support/ReadOnlyFolder.h"
#include "tests/support/SeriesPicture.h"
#include "widgets/FolderDialog.h"
#include "widgets/SpinEdit.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr int pictureWidth = 825;
constexpr int pictureHeight = 249;

std::uint32_t le32(const QByteArray &bytes, int at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | std::uint8_t(bytes[at + i]);
    return value;
}

// Empty when the file is a complete 24-bit bitmap of the chart's size, else what is wrong.
std::string bitmapFault(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return "missing";
    const QByteArray bytes = file.readAll();
    const int rowBytes = (pictureWidth * 3 + 3) / 4 * 4;
    const qsizetype expectedSize = 54 + qsizetype(rowBytes) * pictureHeight;
    if (bytes.size() != expectedSize)
        return "size " + std::to_string(bytes.size()) + " instead of " + std::to_string(expectedSize);
    if (!bytes.startsWith("BM") || le32(bytes, 2) != std::uint32_t(expectedSize) || le32(bytes, 10) != 54
        || le32(bytes, 14) != 40 || le32(bytes, 18) != pictureWidth || le32(bytes, 22) != pictureHeight
        || (le32(bytes, 28) & 0xFFFF) != 24)
        return "header fields";
    if (QImage(fileName).size() != QSize(pictureWidth, pictureHeight))
        return "unreadable";
    return {};
}

class PictureFault : public testing::Test, protected WindowOnBoard
{
protected:
    PictureFault()
    {
        QObject::connect(form.Timer1, &PeriodicTimer::timeout, [this] { ++ticks; });
    }

    void chooseFolder(const QString &folder)
    {
        form.FolderDialog1->setChooser(
            [folder](const QString &, const QString &, QWidget *) { return std::optional<QString>(folder); });
    }

    // The fastest display: a tick every millisecond, a wrap every second tick.
    void setFastest()
    {
        form.SpinEdit1->setValue(1);
        form.Button5->click();
        form.SpinEdit4->setValue(10);
        form.Button7->click();
    }

    void startSeries(int pictures)
    {
        // Pictures of the day already in the folder are meant to be replaced here.
        ModalWatcher replace(ModalWatcher::click(QStringLiteral("Да")));
        form.SpinEdit3->setValue(pictures);
        form.Button4->click();
        ASSERT_TRUE(form.state().savingSeries);
    }

    // Runs until the series has ended and a few more ticks have run after it.
    void expectSeriesEndsAndDisplayGoesOn()
    {
        ASSERT_TRUE(FaultRun::processEventsUntil([&] { return !form.state().savingSeries; }, FaultRun::longestWaitMs))
            << "the series never ended";
        const int ticksAtEnd = ticks;
        EXPECT_TRUE(FaultRun::processEventsUntil([&] { return ticks >= ticksAtEnd + 5; }))
            << "the display stopped after the failed picture";
        EXPECT_TRUE(form.Timer1->isActive());
    }

    void expectOneCreateError(const ModalWatcher &boxes, const QString &folder)
    {
        ASSERT_EQ(boxes.boxes().size(), 1);
        EXPECT_TRUE(boxes.boxes().front().text.startsWith(QStringLiteral("Cannot create file \"") + folder + u'/'))
            << boxes.boxes().front().text.toStdString();
    }

    int ticks = 0;
};

TEST_F(PictureFault, aFolderGoneBeforeTheSeriesPictureGivesOneErrorAndTheDisplayGoesOn)
{
    QTemporaryDir parent;
    const QString folder = parent.filePath(QStringLiteral("pictures"));
    ASSERT_TRUE(QDir().mkdir(folder));
    chooseFolder(folder);
    setFastest();
    startSeries(3);
    ASSERT_TRUE(QDir(folder).removeRecursively());

    ModalWatcher boxes;
    form.Button1->click();
    board.write("100b");
    expectSeriesEndsAndDisplayGoesOn();
    form.Button2->click();

    expectOneCreateError(boxes, folder);
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(QDir(parent.path()).isEmpty()) << "nothing was written anywhere else";
}

TEST_F(PictureFault, aReadOnlyFolderRefusesPicturesWithOneErrorEachAndTheDisplayGoesOn)
{
    ReadOnlyFolder folder;
    if (!folder.ready())
        GTEST_SKIP() << folder.error().toStdString();
    chooseFolder(folder.path());
    setFastest();
    {
        ModalWatcher boxes;
        form.Button3->click(); // a single picture, while stopped
        expectOneCreateError(boxes, folder.path());
        EXPECT_FALSE(form.Timer1->isActive()) << "taken while stopped, the display stays still";
    }
    {
        ModalWatcher boxes;
        startSeries(2);
        form.Button1->click();
        expectSeriesEndsAndDisplayGoesOn();
        form.Button2->click();
        expectOneCreateError(boxes, folder.path());
    }
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

TEST_F(PictureFault, aSeriesOfTwoHundredAtTheFastestSettingsIsComplete)
{
    constexpr int pictures = 200;
    FaultRun run("pictures", 1);
    QTemporaryDir folder;
    chooseFolder(folder.path());
    setFastest();
    ModalWatcher boxes;
    while (run.nextRound()) {
        const QDate since = QDate::currentDate();
        startSeries(pictures);
        form.Button1->click();
        board.write("300b700c\r\n");
        ASSERT_TRUE(FaultRun::processEventsUntil([&] { return !form.state().savingSeries; }, FaultRun::longestWaitMs))
            << form.state().picturesLeft << " pictures left when the wait ended";
        form.Button2->click();

        int complete = 0;
        for (int number = 0; number < pictures; ++number) {
            const std::string fault = bitmapFault(writtenSeriesPicture(folder.path(), number, since));
            EXPECT_EQ(fault, "") << "picture " << number;
            complete += fault.empty();
        }
        EXPECT_EQ(complete, pictures);
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), pictures) << "no other file is left";
        ASSERT_EQ(boxes.boxes().size(), run.rounds());
        EXPECT_EQ(boxes.boxes().back().text, QStringLiteral("Серия картинок сохранена"));
        ASSERT_FALSE(HasFailure());
    }
    run.report("series", run.rounds());
    run.report("pictures_per_series", pictures);
}

} // namespace
