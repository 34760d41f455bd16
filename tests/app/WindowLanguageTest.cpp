// The window with the catalogues the build makes (locale/ beside the built program), and
// the templates in po/ against every text the window shows.

#include "app/Form1.h"
#include "app/Form2.h"
#include "chart/Chart.h"
#include "runtime/Translation.h"
#include "serial/ComPort.h"
#include "serial/ComSetupFrm.h"
#include "tests/support/ModalWatcher.h"
#include "tests/support/PtyPair.h"
#include "widgets/FolderDialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class WindowLanguageTest : public testing::Test
{
protected:
    ~WindowLanguageTest() override
    {
        for (const auto &[variable, value] : m_saved)
            qputenv(variable, value);
        Translation::initialize(QStringLiteral(ONDRIX_BUILD_DIR));
    }

    // Chooses the language as the user's environment would and loads the catalogues
    // from where the built program finds them.
    void chooseLanguage(const char *language, const char *lang)
    {
        qputenv("LANGUAGE", language);
        qputenv("LANG", lang);
        Translation::initialize(QStringLiteral(ONDRIX_BUILD_DIR));
    }

private:
    std::vector<std::pair<const char *, QByteArray>> m_saved = [] {
        std::vector<std::pair<const char *, QByteArray>> saved;
        for (const char *variable : {"LANGUAGE", "LANG", "LC_ALL", "LC_MESSAGES"}) {
            saved.emplace_back(variable, qgetenv(variable));
            qunsetenv(variable);
        }
        return saved;
    }();
};

QImage savedPicture(TForm1 &form, const QString &path)
{
    form.Chart1->SaveBitmapFile(path);
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

TEST_F(WindowLanguageTest, inEnglishTheButtonsABoxAndASavedPicturesTitle)
{
    chooseLanguage("en", "ru_RU.UTF-8");
    TForm1 form;
    EXPECT_EQ(form.Button1->text(), QStringLiteral("Start"));
    EXPECT_EQ(form.Button2->text(), QStringLiteral("Stop"));
    EXPECT_EQ(form.Button5->text(), QStringLiteral("Apply"));

    QTemporaryDir folder;
    form.FolderDialog1->setChooser([&](const QString &, const QString &, QWidget *) { return folder.path(); });
    ModalWatcher watcher;
    QTest::mouseClick(form.Button3, Qt::LeftButton);
    ASSERT_EQ(watcher.boxes().size(), 1);
    const QStringList saved = QDir(folder.path()).entryList(QDir::Files);
    ASSERT_EQ(saved.size(), 1);
    const QString english = folder.filePath(saved.front());
    EXPECT_EQ(watcher.boxes().front().text.toStdString(), "Saved to " + english.toStdString());

    chooseLanguage("", "C.UTF-8");
    TForm1 untranslated;
    const QImage russian = savedPicture(untranslated, folder.filePath(QStringLiteral("russian.bmp")));
    untranslated.Chart1->Title().setText({QStringLiteral("Readings")});
    EXPECT_EQ(QImage(english).convertToFormat(QImage::Format_RGB32),
              savedPicture(untranslated, folder.filePath(QStringLiteral("retitled.bmp"))));
    EXPECT_NE(QImage(english).convertToFormat(QImage::Format_RGB32), russian) << "the title shows in the picture";
}

TEST_F(WindowLanguageTest, inRussianThePortInUseMessageIsRussian)
{
    chooseLanguage("", "ru_RU.UTF-8");
    PtyPair pty;
    TComPort holder;
    holder.setPort(pty.slavePath());
    holder.OpenPort();
    TForm1 form;
    form.ComPort1->setPort(pty.slavePath());
    ModalWatcher watcher;
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    ASSERT_EQ(watcher.boxes().size(), 1);
    EXPECT_EQ(watcher.boxes().front().text.toStdString(), "Не удаётся открыть порт (код ошибки: 16)");
}

// Every msgid of the templates, as a pattern in which %1, %2... stand for any text.
QList<QRegularExpression> templateTexts()
{
    QList<QRegularExpression> patterns;
    const QStringList templates = QDir(QStringLiteral(ONDRIX_SOURCE_DIR "/po"))
                                      .entryList({QStringLiteral("*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &domain : templates) {
        QFile file(QStringLiteral(ONDRIX_SOURCE_DIR "/po/%1/%1.pot").arg(domain));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << file.fileName().toStdString();
        // A msgid is one or more quoted lines up to its msgstr.
        static const QRegularExpression entry(QStringLiteral("^msgid ((?:\"(?:[^\"\\\\]|\\\\.)*\"\\n)+)msgstr"),
                                              QRegularExpression::MultilineOption);
        static const QRegularExpression quoted(QStringLiteral("\"((?:[^\"\\\\]|\\\\.)*)\""));
        const QString text = QString::fromUtf8(file.readAll());
        for (const QRegularExpressionMatch &match : entry.globalMatch(text)) {
            QString msgid;
            for (const QRegularExpressionMatch &part : quoted.globalMatch(match.captured(1)))
                msgid += part.captured(1).replace(QStringLiteral("\\n"), QStringLiteral("\n"))
                             .replace(QStringLiteral("\\\""), QStringLiteral("\""))
                             .replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
            QStringList pieces = msgid.split(QRegularExpression(QStringLiteral("%\\d")));
            for (QString &piece : pieces)
                piece = QRegularExpression::escape(piece);
            patterns << QRegularExpression(QRegularExpression::anchoredPattern(pieces.join(QStringLiteral(".*"))),
                                           QRegularExpression::DotMatchesEverythingOption);
        }
    }
    return patterns;
}

// The texts a user reads on a window and its children: titles, captions, tool tips and
// the menus' entries. The values in edit fields and lists are data, not texts.
QStringList shownTexts(QWidget &window)
{
    QStringList texts{window.windowTitle()};
    QList<QWidget *> widgets = window.findChildren<QWidget *>();
    widgets.prepend(&window);
    for (QWidget *widget : widgets) {
        texts << widget->toolTip();
        for (const QAction *action : widget->actions())
            texts << action->text() << action->toolTip();
        if (const auto *button = qobject_cast<QAbstractButton *>(widget))
            texts << button->text();
        else if (const auto *label = qobject_cast<QLabel *>(widget))
            texts << label->text();
        else if (const auto *group = qobject_cast<QGroupBox *>(widget))
            texts << group->title();
    }
    texts.removeAll(QString());
    return texts;
}

TEST_F(WindowLanguageTest, underTheCLocaleEveryTextIsAsWrittenAndInTheTemplates)
{
    chooseLanguage("en", "C.UTF-8");
    TForm1 form;
    EXPECT_EQ(form.Button1->text(), QStringLiteral("Пуск")) << "LANGUAGE counts for nothing under C";
    TForm2 about;
    TComSetupFrm setup;
    QStringList texts = shownTexts(form) + shownTexts(about) + shownTexts(setup);
    texts << form.Chart1->Title().Text();
    ASSERT_GT(texts.size(), 40);
    const QList<QRegularExpression> patterns = templateTexts();
    for (const QString &text : texts) {
        const bool marked =
            std::any_of(patterns.begin(), patterns.end(), [&](const auto &pattern) { return pattern.match(text).hasMatch(); });
        EXPECT_TRUE(marked) << "not in po/: \"" << text.toStdString() << '"';
    }
}

} // namespace
