#include "widgets/SpinEdit.h"

#include "widgets/SpinButton.h"
#include "widgets/TimerSpeedButton.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>
#include <gtest/gtest.h>

namespace {

QFont mainWindowFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    return font;
}

// SpinEdit1 of the main window: the display period, in the window's font.
struct PeriodField : TSpinEdit
{
    PeriodField()
    {
        setFont(mainWindowFont());
        setMinValue(1);
        setMaxValue(32000);
        setValue(100);
        setMaxLength(5);
        resize(121, 22);
    }
};

// The period field and a button in one window, so that the focus can leave the field.
struct FieldInWindow
{
    FieldInWindow()
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(period);
        layout->addWidget(button);
    }

    QWidget window;
    PeriodField *period = new PeriodField;
    QPushButton *button = new QPushButton(QStringLiteral("Задать"));
};

bool activate(QWidget &window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

QString typed(TSpinEdit &field, const QString &keys)
{
    field.clear();
    QTest::keyClicks(&field, keys);
    return field.text();
}

} // namespace

TEST(SpinEdit, ValueReadsTheTextOrMinValue)
{
    TSpinEdit field;
    field.setMinValue(10);
    field.setMaxValue(100);
    struct Row { const char *text; std::int32_t value; };
    const Row rows[] = {
        {"", 10},
        {"-", 10},
        {"+", 10},
        {"1,5", 10},
        {"1.5", 10},
        {"abc", 10},
        {"2147483648", 10},
        {"42 ", 10},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"99999", 99999},
        {"  +007", 7},
        {"$1F", 31},
    };
    for (const Row &row : rows) {
        field.setText(QString::fromLatin1(row.text));
        EXPECT_EQ(field.Value(), row.value) << row.text;
        EXPECT_EQ(field.text(), QString::fromLatin1(row.text)) << "reading changes nothing";
    }
}

TEST(SpinEdit, WritingClampsUnlessTheLimitsAreEqual)
{
    TSpinEdit field;
    EXPECT_EQ(field.text(), QStringLiteral("0"));
    field.setValue(-123456);
    EXPECT_EQ(field.text(), QStringLiteral("-123456")) << "MinValue = MaxValue = 0: no limits";

    field.setMinValue(1);
    field.setMaxValue(32000);
    struct Row { std::int32_t written; const char *text; };
    const Row rows[] = {{0, "1"}, {32001, "32000"}, {-5, "1"}, {250, "250"}};
    for (const Row &row : rows) {
        field.setValue(row.written);
        EXPECT_EQ(field.text(), QString::fromLatin1(row.text)) << row.written;
    }
    field.setMinValue(50);
    field.setMaxValue(20);
    EXPECT_EQ(field.ClampValue(10), 50) << "below MinValue wins when the limits are crossed";
    EXPECT_EQ(field.ClampValue(60), 20);
}

TEST(SpinEdit, ArrowsStepAndStopAtTheLimits)
{
    PeriodField period;
    period.setValue(32000);
    QTest::mouseClick(period.Button()->upButton(), Qt::LeftButton);
    EXPECT_EQ(period.text(), QStringLiteral("32000"));
    QTest::mouseClick(period.Button()->downButton(), Qt::LeftButton);
    EXPECT_EQ(period.text(), QStringLiteral("31999"));
    QTest::mousePress(period.Button()->downButton(), Qt::LeftButton);
    QTest::mouseRelease(period.Button()->downButton(), Qt::LeftButton, {}, QPoint(-5, -5));
    EXPECT_EQ(period.text(), QStringLiteral("31999")) << "released off the arrow: no click";
    QTest::keyClick(&period, Qt::Key_Up);
    QTest::keyClick(&period, Qt::Key_Up);
    EXPECT_EQ(period.text(), QStringLiteral("32000"));
    QTest::keyClick(&period, Qt::Key_Down);
    EXPECT_EQ(period.text(), QStringLiteral("31999"));

    TSpinEdit length; // SpinEdit4: a step from text that is no number starts at MinValue
    length.setMinValue(10);
    length.setMaxValue(100000);
    length.setText(QString());
    length.StepUp();
    EXPECT_EQ(length.text(), QStringLiteral("11"));

    length.setReadOnly(true);
    length.StepUp();
    EXPECT_EQ(length.text(), QStringLiteral("11")) << "a read-only field only beeps";
}

TEST(SpinEdit, TypingTakesOnlyNumberCharacters)
{
    PeriodField period;
    struct Row { const char *what; QString keys; QString text; };
    const Row rows[] = {
        {"digits and signs", QStringLiteral("-+12"), QStringLiteral("-+12")},
        {"letters and spaces are dropped", QStringLiteral("1a 2"), QStringLiteral("12")},
        {"the locale's decimal separator passes", QStringLiteral("1") + QLocale::system().decimalPoint() + u'5',
         QStringLiteral("1") + QLocale::system().decimalPoint() + u'5'},
        {"MaxLength 5 stops the sixth", QStringLiteral("123456"), QStringLiteral("12345")},
    };
    for (const Row &row : rows)
        EXPECT_EQ(typed(period, row.keys), row.text) << row.what;

    period.setText(QStringLiteral("77"));
    QTest::keyClick(&period, Qt::Key_Return);
    EXPECT_EQ(period.text(), QStringLiteral("77")) << "Enter is refused";
    QTest::keyClick(&period, Qt::Key_Backspace);
    EXPECT_EQ(period.text(), QStringLiteral("7"));

    EXPECT_FALSE(period.AcceptsChar(u'\r'));
    EXPECT_TRUE(period.AcceptsChar(QChar(3))) << "copy passes";
    period.setEditorEnabled(false);
    EXPECT_FALSE(period.AcceptsChar(u'5'));
    EXPECT_FALSE(period.AcceptsChar(u'\b'));
    EXPECT_TRUE(period.AcceptsChar(QChar(3)));
}

TEST(SpinEdit, DisabledEditorKeepsTheTextButArrowsWork)
{
    PeriodField period;
    period.setEditorEnabled(false);
    QApplication::clipboard()->setText(QStringLiteral("9"));
    const QKeyCombination editingKeys[] = {
        Qt::Key_5, Qt::Key_Backspace, Qt::Key_Delete, Qt::ControlModifier | Qt::Key_V,
        Qt::ControlModifier | Qt::Key_X, Qt::ControlModifier | Qt::Key_Backspace,
    };
    period.end(false);
    for (const QKeyCombination key : editingKeys) {
        period.selectAll();
        QTest::keyClick(&period, key.key(), key.keyboardModifiers());
        EXPECT_EQ(period.text(), QStringLiteral("100")) << key.toCombined();
    }
    EXPECT_FALSE(period.isReadOnly()) << "the lock is only held while a key is handled";
    QTest::keyClick(&period, Qt::Key_Up);
    EXPECT_EQ(period.text(), QStringLiteral("101"));
}

TEST(SpinEdit, PasteIsLimitedToMaxLengthOnly)
{
    PeriodField period;
    period.clear();
    QApplication::clipboard()->setText(QStringLiteral("abcdefg"));
    QTest::keyClick(&period, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(period.text(), QStringLiteral("abcde"));
}

TEST(SpinEdit, LeavingTheFieldCorrectsANumberOutsideTheLimits)
{
    FieldInWindow form;
    ASSERT_TRUE(activate(form.window));
    TSpinEdit *period = form.period;

    struct Row { const char *what; QString text; QString after; };
    const Row rows[] = {
        {"above the limit", QStringLiteral("99999"), QStringLiteral("32000")},
        {"below the limit", QStringLiteral("0"), QStringLiteral("1")},
        {"lowest 32-bit number", QStringLiteral("-2147483648"), QStringLiteral("1")},
        {"not a number stays", QStringLiteral("1,5"), QStringLiteral("1,5")},
        {"empty stays", QString(), QString()},
        {"in range keeps its form", QStringLiteral("+007"), QStringLiteral("+007")},
    };
    for (const Row &row : rows) {
        // Pressing an arrow moves the focus into the field.
        QTest::mousePress(period->Button()->upButton(), Qt::LeftButton);
        EXPECT_TRUE(period->hasFocus()) << row.what;
        QTest::mouseRelease(period->Button()->upButton(), Qt::LeftButton, {}, QPoint(-5, -5));
        period->setText(row.text);
        QTest::mouseClick(form.button, Qt::LeftButton);
        ASSERT_TRUE(form.button->hasFocus());
        EXPECT_EQ(period->text(), row.after) << row.what;
    }

    // A right click through the window, as the pointer gives it, opens the field's menu.
    period->setFocus();
    period->setText(QStringLiteral("99999"));
    QTest::mouseClick(form.window.windowHandle(), Qt::RightButton, {}, period->mapTo(&form.window, QPoint(10, 10)));
    QWidget *menu = QApplication::activePopupWidget();
    ASSERT_TRUE(menu);
    QTest::keyClick(menu, Qt::Key_Escape);
    EXPECT_FALSE(QApplication::activePopupWidget());
    EXPECT_TRUE(period->hasFocus());
    EXPECT_EQ(period->text(), QStringLiteral("99999")) << "the field's own menu leaves the number as typed";
    QTest::mouseClick(form.button, Qt::LeftButton);
    EXPECT_EQ(period->text(), QStringLiteral("32000")) << "leaving the field afterwards corrects it";
}

TEST(SpinEdit, ArrowsSitInsideTheFrameAtTheRight)
{
    PeriodField period;
    period.show(); // a hidden widget gets its resize only when shown
    const TSpinButton *arrows = period.Button();
    EXPECT_EQ(arrows->geometry(), QRect(103, 2, 15, 17));
    EXPECT_EQ(arrows->upButton()->geometry(), QRect(0, 0, 15, 8));
    EXPECT_EQ(arrows->downButton()->geometry(), QRect(0, 7, 15, 10));
    EXPECT_EQ(arrows->upButton()->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(arrows->upButton()->iconSize(), QSize(9, 6));
}

TEST(SpinEdit, MainWindowFontGivesTheDesignedHeight)
{
    // The test program maps the designed fonts as the program does.
    ASSERT_FALSE(QFont::substitutes(QStringLiteral("MS Sans Serif")).isEmpty());
    PeriodField period;
    EXPECT_EQ(period.MinimumHeight(), 22);
    period.resize(121, 10);
    EXPECT_EQ(period.height(), 22) << "raised to the minimum";
    QFont larger = mainWindowFont();
    larger.setPixelSize(22);
    period.setFont(larger);
    EXPECT_GT(period.height(), 22) << "a larger font raises the minimum";
}

TEST(SpinEdit, HeldArrowPausesOffTheArrowAndResumesOnItUntilReleased)
{
    PeriodField period;
    period.show();
    TTimerSpeedButton *up = period.Button()->upButton();
    const QPoint off(-10, -10);

    QTest::mousePress(up, Qt::LeftButton);
    EXPECT_EQ(period.Value(), 100) << "a press alone does not click";
    ASSERT_TRUE(QTest::qWaitFor([&] { return period.Value() == 101; })) << "the first repeat";

    QTest::mouseMove(up, off);
    EXPECT_FALSE(up->isDown());
    const std::int32_t whenLeft = period.Value();
    QTest::qWait(3 * TTimerSpeedButton::repeatInterval);
    EXPECT_EQ(period.Value(), whenLeft) << "off the arrow: paused";

    QTest::mouseMove(up, up->rect().center());
    EXPECT_TRUE(up->isDown());
    EXPECT_TRUE(QTest::qWaitFor([&] { return period.Value() > whenLeft; })) << "back on the arrow: resumed";

    QTest::mouseMove(up, off);
    const std::int32_t whenReleased = period.Value();
    QTest::mouseRelease(up, Qt::LeftButton, {}, off);
    QTest::qWait(3 * TTimerSpeedButton::repeatInterval);
    EXPECT_EQ(period.Value(), whenReleased) << "released off the arrow: no click, no more repeats";

    TTimerSpeedButton *down = period.Button()->downButton();
    QTest::mousePress(down, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return period.Value() == whenReleased - 1; }));
    QTest::mouseRelease(down, Qt::LeftButton);
    EXPECT_EQ(period.Value(), whenReleased - 2) << "released on the arrow: one more click";
}

TEST(SpinEdit, HoldEndsForGoodWhenTheMouseIsTakenAway)
{
    FieldInWindow form;
    TTimerSpeedButton *up = form.period->Button()->upButton();
    QWidget elsewhere;
    const auto showBox = [&] {
        // As the end of a picture series shows its message from a display tick.
        QMessageBox box(QMessageBox::Information, QString(), QStringLiteral("Серия картинок сохранена"),
                        QMessageBox::Ok, &form.window);
        QTimer::singleShot(3 * TTimerSpeedButton::repeatInterval, &box, &QDialog::accept);
        box.exec();
    };
    struct Row
    {
        const char *what;
        std::function<void()> takeAway;
        std::function<void()> giveBack;
    };
    const Row rows[] = {
        {"a modal box opens and closes", showBox, [] {}},
        {"another window is activated", [&] { activate(elsewhere); }, [] {}},
        {"another widget grabs the mouse", [&] { form.button->grabMouse(); }, [&] { form.button->releaseMouse(); }},
        {"the arrow is disabled", [&] { up->setEnabled(false); }, [&] { up->setEnabled(true); }},
        {"the arrows are hidden", [&] { form.period->Button()->hide(); }, [&] { form.period->Button()->show(); }},
    };
    for (const Row &row : rows) {
        ASSERT_TRUE(activate(form.window)) << row.what;
        const std::int32_t pressedAt = form.period->Value();
        QTest::mousePress(up, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return form.period->Value() > pressedAt; })) << row.what;
        std::int32_t takenAt = 0;
        QTimer::singleShot(0, &form.window, [&] {
            takenAt = form.period->Value();
            row.takeAway();
        });
        QTest::qWait(5 * TTimerSpeedButton::repeatInterval);
        row.giveBack();
        QTest::qWait(3 * TTimerSpeedButton::repeatInterval);
        EXPECT_EQ(form.period->Value(), takenAt) << row.what << ": no click since";
        EXPECT_FALSE(up->isDown()) << row.what << ": the arrow is raised";

        // The mouse button is still held: back over the arrow and let go.
        QTest::mouseMove(up, up->rect().center());
        EXPECT_FALSE(up->isDown()) << row.what;
        QTest::mouseRelease(up, Qt::LeftButton);
        EXPECT_EQ(form.period->Value(), takenAt) << row.what << ": the release gives no click";
    }
}

TEST(SpinEdit, AutoSelectByKeyboardButCaretWhereTheMouseWasPressed)
{
    FieldInWindow form;
    ASSERT_TRUE(activate(form.window));
    TSpinEdit *period = form.period;
    QPushButton *button = form.button;

    button->setFocus();
    QTest::keyClick(button, Qt::Key_Tab);
    ASSERT_TRUE(period->hasFocus());
    EXPECT_EQ(period->selectedText(), QStringLiteral("100")) << "entered by keyboard";

    button->setFocus();
    QTest::mouseClick(period, Qt::LeftButton, {}, QPoint(2, period->height() / 2));
    ASSERT_TRUE(period->hasFocus());
    EXPECT_FALSE(period->hasSelectedText()) << "entered by a press on the text";
    EXPECT_EQ(period->cursorPosition(), 0);

    QWidget elsewhere;
    ASSERT_TRUE(activate(elsewhere));
    ASSERT_TRUE(activate(form.window));
    ASSERT_TRUE(period->hasFocus());
    EXPECT_EQ(period->selectedText(), QStringLiteral("100")) << "back from another window";

    ASSERT_TRUE(activate(elsewhere));
    QTest::mouseClick(period, Qt::LeftButton, {}, QPoint(2, period->height() / 2));
    ASSERT_TRUE(activate(form.window));
    EXPECT_FALSE(period->hasSelectedText()) << "a press on the text of the inactive window places the caret";

    button->setFocus();
    QTest::mousePress(period->Button()->upButton(), Qt::LeftButton);
    ASSERT_TRUE(period->hasFocus());
    EXPECT_EQ(period->selectedText(), QStringLiteral("100")) << "entered through an arrow";
    QTest::mouseRelease(period->Button()->upButton(), Qt::LeftButton, {}, QPoint(-5, -5));

    period->setAutoSelect(false);
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Tab);
    ASSERT_TRUE(period->hasFocus());
    EXPECT_FALSE(period->hasSelectedText()) << "AutoSelect off";
}

TEST(SpinEdit, ArrowGlyphsAreBlackTrianglesOnATransparentGround)
{
    const TSpinButton arrows;
    struct Row { const char *what; QImage glyph; int widths[6]; };
    const Row rows[] = {
        {"SpinUp", arrows.UpGlyph(), {0, 1, 3, 5, 7, 0}},
        {"SpinDown", arrows.DownGlyph(), {0, 7, 5, 3, 1, 0}},
    };
    for (const Row &row : rows) {
        ASSERT_EQ(row.glyph.size(), QSize(9, 6)) << row.what;
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 9; ++x) {
                const bool inside = std::abs(x - 4) * 2 < row.widths[y];
                const QRgb pixel = row.glyph.pixel(x, y);
                EXPECT_EQ(pixel, inside ? qRgba(0, 0, 0, 255) : qRgba(0, 0, 0, 0))
                    << row.what << " at " << x << "," << y;
            }
        }
    }
}
