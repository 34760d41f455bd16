#include "runtime/Application.h"
#include "runtime/InfoBox.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Runs ShowMessage and answers the box with one key once it is up; returns what it saw.
struct Answered
{
    QString title;
    int pushButtons = 0;
    bool hasPicture = false;
    bool closedByKey = false;
};

Answered showAndPress(const QString &text, Qt::Key key)
{
    Answered seen;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<InfoBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.title = box->windowTitle();
        seen.pushButtons = int(box->findChildren<QPushButton *>().size());
        for (QLabel *label : box->findChildren<QLabel *>())
            seen.hasPicture = seen.hasPicture || !label->pixmap().isNull();
        QTest::keyClick(box, key);
        seen.closedByKey = !box->isVisible();
        if (!seen.closedByKey)
            box->reject(); // keep the test from hanging on a box that ignored the key
    });
    InfoBox::ShowMessage(text);
    return seen;
}

TEST(InfoBoxTest, oneOkClosedByEnterAndByEscapeWithTheTitleAsCaption)
{
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        const Answered seen = showAndPress(QStringLiteral("Серия картинок сохранена"), key);
        EXPECT_TRUE(seen.closedByKey) << key;
        EXPECT_EQ(seen.title, TApplication::title());
        EXPECT_EQ(seen.pushButtons, 1);
        EXPECT_FALSE(seen.hasPicture);
    }
}

TEST(InfoBoxTest, aQuestionAnswersNoToEnterEscapeAndClosingAndYesOnlyToItsButton)
{
    struct Row
    {
        const char *how;
        std::function<void(InfoBox *)> act;
        bool yes;
    };
    const auto clickButton = [](int index) {
        return [index](InfoBox *box) { QTest::mouseClick(box->findChildren<QPushButton *>().at(index), Qt::LeftButton); };
    };
    const Row rows[] = {
        {"Enter", [](InfoBox *box) { QTest::keyClick(box, Qt::Key_Return); }, false},
        {"Esc", [](InfoBox *box) { QTest::keyClick(box, Qt::Key_Escape); }, false},
        {"the title bar's close", [](InfoBox *box) { box->close(); }, false},
        {"Нет", clickButton(1), false},
        {"Да", clickButton(0), true},
    };
    for (const Row &row : rows) {
        QStringList captions;
        bool closedByAct = false;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<InfoBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            for (QPushButton *button : box->findChildren<QPushButton *>())
                captions << button->text();
            row.act(box);
            closedByAct = !box->isVisible();
            if (!closedByAct)
                box->done(-1); // keep the test from hanging on a box that ignored the act
        });
        EXPECT_EQ(InfoBox::AskYesNo(QStringLiteral("Заменить их?")), row.yes) << row.how;
        EXPECT_TRUE(closedByAct) << row.how;
        EXPECT_EQ(captions, QStringList({QStringLiteral("Да"), QStringLiteral("Нет")})) << row.how;
    }
}

TEST(InfoBoxTest, ctrlCCopiesTheSevenLineText)
{
    InfoBox box(QStringLiteral("Сохранено в файл /tmp/x.bmp"));
    box.show();
    QApplication::clipboard()->clear();
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    const QString dashes(27, u'-');
    const QString expected = dashes + "\r\n" + TApplication::title() + "\r\n" + dashes + "\r\n"
                             + QStringLiteral("Сохранено в файл /tmp/x.bmp") + "\r\n" + dashes + "\r\n"
                             + "OK   \r\n" + dashes + "\r\n";
    EXPECT_EQ(QApplication::clipboard()->text(), expected);
    EXPECT_TRUE(box.isVisible()) << "copying must not close the box";
}

TEST(InfoBoxTest, sizedByDialogUnitsAroundItsTextAndCentredButton)
{
    InfoBox box(QStringLiteral("short"));
    auto *ok = box.findChild<QPushButton *>();
    ASSERT_NE(ok, nullptr);
    const QFontMetrics metrics = box.fontMetrics();
    EXPECT_EQ(ok->width(), std::max(50 * metrics.averageCharWidth() / 4, metrics.horizontalAdvance("OK") + 8));
    EXPECT_EQ(ok->height(), 14 * metrics.height() / 8);
    EXPECT_NEAR(ok->geometry().center().x(), box.width() / 2, 1);
    EXPECT_EQ(box.height(), ok->geometry().bottom() + 1 + 8 * metrics.height() / 8);
}

} // namespace
