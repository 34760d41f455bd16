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

// Sizes with the program's fonts, where a dialog unit is 6 / 4 pixels across and 14 / 8
// down: margins of 12 and 14, a button of 75 x 24 at least, 17 between text and button,
// text wrapped at half the screen's width (400 of the test screen's 800).
struct SizeRow
{
    const char *name;
    QString message;
    QSize box;
    QRect text;
    QRect ok;
};

class InfoBoxSize : public testing::TestWithParam<SizeRow>
{
};

TEST_P(InfoBoxSize, fitsItsTextAndCentresTheButtonBelow)
{
    const SizeRow &row = GetParam();
    InfoBox box(row.message);
    EXPECT_EQ(box.size(), row.box);
    EXPECT_EQ(box.findChild<QLabel *>()->geometry(), row.text);
    EXPECT_EQ(box.findChild<QPushButton *>()->geometry(), row.ok);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, InfoBoxSize,
    testing::Values(
        SizeRow{"ShortTextTheButtonSetsTheWidth", QStringLiteral("short"), {99, 83}, {12, 14, 31, 14}, {12, 45, 75, 24}},
        SizeRow{"OneLine", QStringLiteral("Серия картинок сохранена"), {196, 83}, {12, 14, 172, 14}, {60, 45, 75, 24}},
        SizeRow{"WrappedAtHalfTheScreen", QStringLiteral("Сохранено в файл /home/operator/pictures/one_12345_2026-12-08.bmp"),
                {295, 97}, {12, 14, 271, 28}, {110, 59, 75, 24}},
        SizeRow{"TwoLines", QStringLiteral("first line\nsecond line"), {99, 97}, {12, 14, 69, 28}, {12, 59, 75, 24}}),
    [](const testing::TestParamInfo<SizeRow> &testInfo) { return std::string(testInfo.param.name); });

} // namespace
