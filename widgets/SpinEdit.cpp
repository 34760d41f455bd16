#include "widgets/SpinEdit.h"

#include "runtime/Application.h"
#include "runtime/IntConv.h"
#include "widgets/SpinButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

namespace {

constexpr int arrowBlockWidth = 15;
// QLineEdit's own limit, standing for "no limit".
constexpr int unlimitedLength = 32767;
// Height of a thin window border.
constexpr int borderHeight = 1;
// Width of the field's sunken frame around its text.
constexpr int frameWidth = 2;

constexpr QChar carriageReturnChar = u'\r';
constexpr QChar backspaceChar = u'\b';
constexpr QChar deleteChar = QChar(0x7F);

// The character a key press types, if it types one. Delete comes with a DEL character
// but is an editing key, and a key held with Ctrl, Alt or Meta is a shortcut (some
// platforms report Ctrl+V with the text "v").
std::optional<QChar> typedCharacter(const QKeyEvent &event)
{
    const QString text = event.text();
    if (text.isEmpty() || text.front() == deleteChar
        || (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return std::nullopt;
    return text.front();
}

// The character cell: every pixel row that a glyph of the font may reach, above and
// below the baseline. Rounding the two parts up is what gives the 13-pixel cell of the
// designed 8-point font, which the field's 22-pixel height is built on.
int cellHeight(const QFont &font)
{
    const QFontMetricsF metrics(font);
    return int(std::ceil(metrics.ascent()) + std::ceil(metrics.descent()));
}

} // namespace

TSpinEdit::TSpinEdit(QWidget *parent) : QLineEdit(QStringLiteral("0"), parent), m_button(new TSpinButton(this))
{
    m_button->setCursor(Qt::ArrowCursor);
    connect(m_button, &TSpinButton::arrowPressed, this, [this] { TApplication::guard([&] { focusFromArrow(); }); });
    connect(m_button, &TSpinButton::upClicked, this, [this] { TApplication::guard([&] { StepUp(); }); });
    connect(m_button, &TSpinButton::downClicked, this, [this] { TApplication::guard([&] { StepDown(); }); });
    setMinimumHeight(MinimumHeight());
    layOutArrows();
}

void TSpinEdit::setMaxLength(int length)
{
    m_maxLength = length;
    QLineEdit::setMaxLength(length > 0 ? length : unlimitedLength);
}

std::int32_t TSpinEdit::Value() const
{
    return TryStrToInt(text()).value_or(m_minValue);
}

void TSpinEdit::setValue(std::int32_t value)
{
    setText(QString::number(ClampValue(value)));
}

std::int32_t TSpinEdit::ClampValue(std::int64_t value) const
{
    if (m_minValue != m_maxValue) {
        if (value < m_minValue)
            return m_minValue;
        if (value > m_maxValue)
            return m_maxValue;
    }
    // Without limits a step past the 32-bit range stops at its end.
    return std::int32_t(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                 std::numeric_limits<std::int32_t>::max()));
}

void TSpinEdit::StepUp()
{
    step(m_increment);
}

void TSpinEdit::StepDown()
{
    step(-std::int64_t(m_increment));
}

void TSpinEdit::step(std::int64_t amount)
{
    if (isReadOnly()) {
        QApplication::beep();
        return;
    }
    setValue(ClampValue(std::int64_t(Value()) + amount));
}

bool TSpinEdit::AcceptsChar(QChar c) const
{
    const bool control = c.unicode() < 32;
    if (!m_editorEnabled && (!control || c == backspaceChar))
        return false;
    if (control)
        return c != carriageReturnChar; // the field is one line: Enter has nothing to insert
    return c == u'+' || c == u'-' || (c >= u'0' && c <= u'9') || QLocale::system().decimalPoint() == QString(c);
}

int TSpinEdit::MinimumHeight() const
{
    const int fontHeight = cellHeight(font());
    const int systemHeight = cellHeight(QApplication::font());
    return fontHeight + std::min(systemHeight, fontHeight) / 4 + 4 * borderHeight + 2;
}

void TSpinEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Up)
        StepUp();
    else if (event->key() == Qt::Key_Down)
        StepDown();
    const auto typed = typedCharacter(*event);
    if (typed && !AcceptsChar(*typed)) {
        QApplication::beep();
        event->accept();
        return;
    }
    unlessEditorDisabled([&] { QLineEdit::keyPressEvent(event); });
}

void TSpinEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    const bool caretFromPress = std::exchange(m_pressedWhileInactive, false);
    switch (event->reason()) {
    case Qt::MouseFocusReason:
        // Qt gives the focus before it delivers the press, which may be on the text (the
        // caret goes there) or on an arrow (then AutoSelect applies, see focusFromArrow).
        m_pressGaveFocus = true;
        break;
    case Qt::PopupFocusReason: // back from a popup menu: the focus never really left
        break;
    case Qt::ActiveWindowFocusReason:
        // A press on the text of an inactive window reaches the field before the
        // window's activation does, and has already put the caret.
        if (!caretFromPress)
            applyAutoSelect();
        break;
    default:
        applyAutoSelect();
    }
}

void TSpinEdit::mousePressEvent(QMouseEvent *event)
{
    m_pressGaveFocus = false;
    m_pressedWhileInactive = !isActiveWindow();
    QLineEdit::mousePressEvent(event);
}

void TSpinEdit::applyAutoSelect()
{
    if (m_autoSelect)
        selectAll();
    else
        deselect(); // QLineEdit itself selects all on Tab
}

void TSpinEdit::focusOutEvent(QFocusEvent *event)
{
    m_pressGaveFocus = false;
    QLineEdit::focusOutEvent(event);
    // A popup (the field's own context menu) holds the focus only while it is open; the
    // operator is still working on the text.
    if (event->reason() == Qt::PopupFocusReason)
        return;
    const std::int32_t value = Value();
    if (ClampValue(value) != value)
        setValue(value);
}

void TSpinEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    layOutArrows();
}

void TSpinEdit::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        setMinimumHeight(MinimumHeight());
}

void TSpinEdit::mouseReleaseEvent(QMouseEvent *event)
{
    unlessEditorDisabled([&] { QLineEdit::mouseReleaseEvent(event); });
}

void TSpinEdit::contextMenuEvent(QContextMenuEvent *event)
{
    unlessEditorDisabled([&] { QLineEdit::contextMenuEvent(event); });
}

void TSpinEdit::dropEvent(QDropEvent *event)
{
    unlessEditorDisabled([&] { QLineEdit::dropEvent(event); });
}

void TSpinEdit::inputMethodEvent(QInputMethodEvent *event)
{
    unlessEditorDisabled([&] { QLineEdit::inputMethodEvent(event); });
}

template <typename Handler>
void TSpinEdit::unlessEditorDisabled(Handler &&handler)
{
    const bool wasReadOnly = isReadOnly();
    if (!m_editorEnabled)
        setReadOnly(true);
    handler();
    setReadOnly(wasReadOnly);
}

void TSpinEdit::focusFromArrow()
{
    if (m_pressGaveFocus) {
        m_pressGaveFocus = false;
        applyAutoSelect();
    } else if (!hasFocus() && focusPolicy() != Qt::NoFocus && isEnabled()) {
        setFocus(Qt::OtherFocusReason);
    }
}

void TSpinEdit::layOutArrows()
{
    // Inside the sunken frame: one pixel clear of its right edge, from its top to one
    // pixel above its bottom.
    const int x = width() - frameWidth - arrowBlockWidth - 1;
    m_button->setGeometry(x, frameWidth, arrowBlockWidth, height() - 5);
    setTextMargins(0, 0, arrowBlockWidth + 2, 0);
}
