#include "app/Form1.h"
#include "app/PictureNamer.h"
#include "tests/support/ModalWatcher.h"
#include "widgets/FolderDialog.h"
#include "widgets/SpinEdit.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A series whose names are taken in its folder asks before it replaces anything.
class SeriesQuestionTest : public testing::Test
{
protected:
    SeriesQuestionTest()
    {
        // Short sweeps: eleven ticks each.
        form.SpinEdit4->setValue(100);
        form.Button7->click();
        chooseFolder(folder.path());
    }

    void chooseFolder(const QString &path)
    {
        form.FolderDialog1->setChooser(
            [path](const QString &, const QString &, QWidget *) { return std::optional<QString>(path); });
    }

    QString seriesFile(int number) const
    {
        return PictureNamer::seriesName(folder.path(), number, QDate::currentDate());
    }

    // What a first series of three left behind: its pictures 2, 1 and 0.
    void leaveEarlierSeries()
    {
        for (int number : {2, 1, 0}) {
            QFile file(seriesFile(number));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("earlier picture " + QByteArray::number(number));
        }
    }

    QByteArray bytes(int number) const
    {
        QFile file(seriesFile(number));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void sweeps(int count)
    {
        for (int i = 0; i < count * 11; ++i)
            form.Timer1Timer();
    }

    QTemporaryDir folder;
    TForm1 form;
};

TEST_F(SeriesQuestionTest, namesOfTheDayInTheFolderBringTheQuestionAndNoLeavesEveryFileAsItWas)
{
    leaveEarlierSeries();
    form.SpinEdit3->setValue(2);
    // Esc, as a user closes a box without agreeing.
    ModalWatcher watcher([](QDialog *box) { QTest::keyClick(box, Qt::Key_Escape); });
    form.Button4->click();

    ASSERT_EQ(watcher.boxes().size(), 1);
    EXPECT_EQ(watcher.boxes().front().text,
              QStringLiteral("Файлы серии за этот день уже есть в папке %1. Заменить их?").arg(folder.path()));
    EXPECT_EQ(watcher.boxes().front().buttons, QStringList({QStringLiteral("Да"), QStringLiteral("Нет")}));
    EXPECT_FALSE(form.state().savingSeries);
    EXPECT_TRUE(form.Label2->isHidden());

    sweeps(3);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 3);
    for (int number : {2, 1, 0})
        EXPECT_EQ(bytes(number), "earlier picture " + QByteArray::number(number));
}

TEST_F(SeriesQuestionTest, noToAnotherFolderLeavesTheRunningSeriesWhereItWas)
{
    QTemporaryDir running;
    chooseFolder(running.path());
    form.SpinEdit3->setValue(5);
    form.Button4->click();
    sweeps(1);

    leaveEarlierSeries();
    chooseFolder(folder.path());
    form.SpinEdit3->setValue(2);
    ModalWatcher watcher(ModalWatcher::click(QStringLiteral("Нет")));
    form.Button4->click();
    ASSERT_EQ(watcher.boxes().size(), 1);
    EXPECT_EQ(form.FolderDialog1->Directory(), running.path());
    EXPECT_EQ(form.state().picturesLeft, 4);
    sweeps(1);
    EXPECT_TRUE(QFile::exists(PictureNamer::seriesName(running.path(), 3, QDate::currentDate())));
    EXPECT_EQ(bytes(1), "earlier picture 1");
}

TEST_F(SeriesQuestionTest, yesReplacesThePicturesAsBeforeAndLeavesTheOthers)
{
    leaveEarlierSeries();
    form.SpinEdit3->setValue(2);
    ModalWatcher watcher(ModalWatcher::click(QStringLiteral("Да")));
    form.Button4->click();
    ASSERT_EQ(watcher.boxes().size(), 1);
    EXPECT_TRUE(form.state().savingSeries);

    sweeps(2);
    EXPECT_EQ(QImage(seriesFile(1)).size(), QSize(825, 249));
    EXPECT_EQ(QImage(seriesFile(0)).size(), QSize(825, 249));
    EXPECT_EQ(bytes(2), "earlier picture 2") << "the series of two never names a picture 2";
    ASSERT_EQ(watcher.boxes().size(), 2);
    EXPECT_EQ(watcher.boxes().back().text, QStringLiteral("Серия картинок сохранена"));
}

TEST_F(SeriesQuestionTest, namesOutsideTheSeriesAskNothing)
{
    // Picture 2 and yesterday's 0 are not among the names a series of two writes today.
    leaveEarlierSeries();
    ASSERT_TRUE(QFile::remove(seriesFile(1)));
    ASSERT_TRUE(QFile::rename(seriesFile(0),
                              PictureNamer::seriesName(folder.path(), 0, QDate::currentDate().addDays(-1))));
    form.SpinEdit3->setValue(2);
    ModalWatcher watcher;
    form.Button4->click();
    EXPECT_TRUE(watcher.boxes().isEmpty());
    EXPECT_TRUE(form.state().savingSeries);
}

} // namespace
