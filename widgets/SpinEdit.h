#pragma once

#include <QLineEdit>
#include <cstdint>

class TSpinButton;

// A numeric text field with up and down arrows at its right edge. The text is the
// value: reading Value converts it with the program's text-to-integer rules (text that
// is not a number reads as MinValue); writing Value sets the text to the number kept
// within MinValue..MaxValue. Typing accepts only digits, signs, the locale's decimal
// separator and control characters; leaving the field corrects a number outside the
// limits to the nearer one. With MinValue = MaxValue there are no limits.
class TSpinEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TSpinEdit(QWidget *parent = nullptr);

    std::int32_t MinValue() const { return m_minValue; }
    void setMinValue(std::int32_t value) { m_minValue = value; }
    std::int32_t MaxValue() const { return m_maxValue; }
    void setMaxValue(std::int32_t value) { m_maxValue = value; }
    std::int32_t Increment() const { return m_increment; }
    void setIncrement(std::int32_t value) { m_increment = value; }
    // False: the text cannot be changed by typing, pasting or cutting; the arrows still
    // change it.
    bool EditorEnabled() const { return m_editorEnabled; }
    void setEditorEnabled(bool enabled) { m_editorEnabled = enabled; }
    // Most characters the text may hold; 0 for no limit of the field's own. Hides
    // QLineEdit's setter, whose 0 would allow no text at all.
    int MaxLength() const { return m_maxLength; }
    void setMaxLength(int length);
    // True: entering the field (by keyboard, through an arrow, or back from another
    // window) selects the whole text; a mouse press on the field puts the caret where it
    // was pressed either way.
    bool AutoSelect() const { return m_autoSelect; }
    void setAutoSelect(bool autoSelect) { m_autoSelect = autoSelect; }

    // Never raises and never changes the text.
    std::int32_t Value() const;
    void setValue(std::int32_t value);
    std::int32_t ClampValue(std::int64_t value) const;

    // One arrow step; a read-only field beeps instead.
    void StepUp();
    void StepDown();
    // Whether a typed character reaches the text.
    bool AcceptsChar(QChar c) const;
    // The smallest height the field allows for its font.
    int MinimumHeight() const;

    TSpinButton *Button() const { return m_button; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    void step(std::int64_t amount);
    void focusFromArrow();
    void applyAutoSelect();
    void layOutArrows();
    // Runs a base-class handler with the text locked when the editor is disabled, so
    // that no path (keys, middle-click paste, menu, drop) can change it.
    template <typename Handler>
    void unlessEditorDisabled(Handler &&handler);

    TSpinButton *m_button;
    std::int32_t m_minValue = 0;
    std::int32_t m_maxValue = 0;
    std::int32_t m_increment = 1;
    bool m_editorEnabled = true;
    int m_maxLength = 0;
    bool m_autoSelect = true;
    // The focus came with a mouse press whose target is not known yet.
    bool m_pressGaveFocus = false;
    // A press on the text came while the window was inactive; its activation follows.
    bool m_pressedWhileInactive = false;
};
