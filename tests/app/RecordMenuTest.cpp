#include "app/Form1.h"
#include "app/RecordMenu.h"
#include "tests/support/ModalWatcher.h"
#include "widgets/AdvPanel.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <system_error>

namespace {

class RecordMenuTest : public testing::Test
{
protected:
    RecordMenuTest()
    {
        form.recordMenu().setChooser([this](const QString &suggested, QWidget *) {
            suggestions << suggested;
            return answer;
        });
    }

    QAction *item(int index) const { return form.AdvPanel1->actions().at(index); }

    void expectItemsEnabled(bool start, bool stop) const
    {
        EXPECT_EQ(item(0)->isEnabled(), start);
        EXPECT_EQ(item(1)->isEnabled(), stop);
    }

    TForm1 form;
    QTemporaryDir dir;
    std::optional<QString> answer;
    QStringList suggestions;
};

TEST_F(RecordMenuTest, thePanelOffersToStartAndStopARecording)
{
    EXPECT_EQ(form.AdvPanel1->contextMenuPolicy(), Qt::ActionsContextMenu);
    ASSERT_EQ(form.AdvPanel1->actions().size(), 2);
    EXPECT_EQ(item(0)->text(), QStringLiteral("Записывать показания в файл…"));
    EXPECT_EQ(item(1)->text(), QStringLiteral("Остановить запись"));
    expectItemsEnabled(true, false);

    item(0)->trigger(); // cancelled
    EXPECT_FALSE(form.recorder().isRecording());
    expectItemsEnabled(true, false);

    answer = dir.filePath(QStringLiteral("run.csv"));
    item(0)->trigger();
    EXPECT_TRUE(form.recorder().isRecording()) << "at once, before any Start";
    EXPECT_TRUE(QFile::exists(*answer));
    expectItemsEnabled(false, true);

    item(1)->trigger();
    EXPECT_FALSE(form.recorder().isRecording());
    expectItemsEnabled(true, false);

    item(0)->trigger();
    ASSERT_EQ(suggestions.size(), 3);
    EXPECT_TRUE(suggestions[0].endsWith(QStringLiteral("/ondrix.csv")));
    EXPECT_EQ(suggestions[2], *answer) << "the last file is suggested again";
}

TEST_F(RecordMenuTest, aFileThatCannotBeOpenedShowsTheErrorAndRecordsNothing)
{
    answer = dir.filePath(QStringLiteral("no-such-folder/run.csv"));
    ModalWatcher watcher;
    item(0)->trigger();
    ASSERT_EQ(watcher.boxes().size(), 1);
    EXPECT_EQ(watcher.boxes().front().icon, QMessageBox::Critical);
    EXPECT_TRUE(watcher.boxes().front().text.startsWith(QStringLiteral("Не удалось открыть файл ") + *answer));
    EXPECT_TRUE(watcher.boxes().front().text.endsWith(
        QString::fromStdString(std::generic_category().message(ENOENT)) + u'.'));
    EXPECT_FALSE(form.recorder().isRecording());
    expectItemsEnabled(true, false);
}

} // namespace
