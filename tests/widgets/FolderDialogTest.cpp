#include "widgets/FolderDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// A chooser that records what the dialog was asked to show and gives a fixed answer.
struct ScriptedChooser
{
    std::optional<QString> answer;
    int calls = 0;
    QString title;
    QString start;

    TFolderDialog::Chooser function()
    {
        return [this](const QString &shownTitle, const QString &startAt, QWidget *) {
            ++calls;
            title = shownTitle;
            start = startAt;
            return answer;
        };
    }
};

struct FolderDialogTest : ::testing::Test
{
    void SetUp() override
    {
        ASSERT_TRUE(temp.isValid());
        ASSERT_TRUE(QDir(temp.path()).mkpath(QStringLiteral("first")));
        ASSERT_TRUE(QDir(temp.path()).mkpath(QStringLiteral("second")));
    }
    QString path(const QString &name) const { return QDir(temp.path()).filePath(name); }

    QTemporaryDir temp;
    TFolderDialog folders;
    ScriptedChooser chooser;
};

} // namespace

TEST_F(FolderDialogTest, RealDialogStartsAtDirectoryAndReturnsTheChoice)
{
    folders.setTitle(QStringLiteral("Выберите папку для сохранения граффиков"));
    folders.setDirectory(path(QStringLiteral("first")));
    QString shownTitle;
    QString shownDirectory;
    bool foldersOnly = false;
    // Answers the dialog as soon as it is up, looking for it on every pass of its loop.
    QTimer answer;
    answer.setInterval(0);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        answer.stop();
        shownTitle = dialog->windowTitle();
        shownDirectory = dialog->directory().absolutePath();
        foldersOnly = dialog->fileMode() == QFileDialog::Directory
                      && dialog->testOption(QFileDialog::ShowDirsOnly)
                      && dialog->testOption(QFileDialog::DontUseNativeDialog);
        dialog->setDirectory(path(QStringLiteral("second")));
        static_cast<QDialog *>(dialog)->accept(); // QFileDialog::accept, public through the base
    });
    answer.start();

    ASSERT_TRUE(folders.Browse());
    EXPECT_EQ(shownTitle, folders.Title());
    EXPECT_EQ(shownDirectory, path(QStringLiteral("first")));
    EXPECT_TRUE(foldersOnly);
    EXPECT_EQ(folders.Directory(), path(QStringLiteral("second")));
}

TEST_F(FolderDialogTest, ChoiceBecomesTheNextStart)
{
    folders.setChooser(chooser.function());
    folders.setDirectory(path(QStringLiteral("first")));
    chooser.answer = path(QStringLiteral("second")) + QStringLiteral("/../second/");
    ASSERT_TRUE(folders.Browse());
    EXPECT_EQ(folders.Directory(), path(QStringLiteral("second"))) << "absolute, clean, no trailing /";
    chooser.answer = std::nullopt;
    EXPECT_FALSE(folders.Browse());
    EXPECT_EQ(chooser.start, path(QStringLiteral("second")));
    EXPECT_EQ(folders.Directory(), path(QStringLiteral("second"))) << "a cancel keeps the folder";
}

TEST_F(FolderDialogTest, RootStaysASlash)
{
    folders.setChooser(chooser.function());
    chooser.answer = QStringLiteral("/");
    ASSERT_TRUE(folders.Browse());
    EXPECT_EQ(folders.Directory(), QStringLiteral("/"));
}

TEST_F(FolderDialogTest, MissingDirectoryIsResetToTheCurrentOneEvenOnCancel)
{
    folders.setChooser(chooser.function());
    const QString deleted = path(QStringLiteral("gone"));
    const QString aFile = path(QStringLiteral("file.txt"));
    QFile(aFile).open(QIODevice::WriteOnly);
    for (const QString &missing : {QString(), deleted, aFile}) {
        folders.setDirectory(missing);
        EXPECT_FALSE(folders.Browse()) << missing.toStdString();
        EXPECT_EQ(chooser.start, QDir::currentPath()) << missing.toStdString();
        EXPECT_EQ(folders.Directory(), QDir::currentPath()) << missing.toStdString();
    }
}

TEST_F(FolderDialogTest, AnswersThatAreNoFolderCountAsNoChoice)
{
    folders.setChooser(chooser.function());
    folders.setDirectory(path(QStringLiteral("first")));
    for (const QString &answer : {QString(), path(QStringLiteral("gone"))}) {
        chooser.answer = answer;
        EXPECT_FALSE(folders.Browse()) << answer.toStdString();
        EXPECT_EQ(folders.Directory(), path(QStringLiteral("first")));
    }
    folders.setChooser([](const QString &, const QString &, QWidget *) -> std::optional<QString> {
        throw std::runtime_error("dialog failed");
    });
    EXPECT_FALSE(folders.Browse()) << "a failing dialog is a cancel, not an error";
}
