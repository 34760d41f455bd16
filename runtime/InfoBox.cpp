#include "runtime/InfoBox.h"

#include "runtime/Application.h"
#include "runtime/Translation.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

// Dialog units: a quarter of the average character width, an eighth of its height.
struct DialogUnits
{
    explicit DialogUnits(const QFontMetrics &metrics)
        : baseX(metrics.averageCharWidth()), baseY(metrics.height())
    {
    }
    int x(int units) const { return units * baseX / 4; }
    int y(int units) const { return units * baseY / 8; }

    int baseX;
    int baseY;
};

const QString dashes(27, u'-');

} // namespace

InfoBox::InfoBox(const QString &text, const QStringList &buttons, int answer, QWidget *parent)
    : QDialog(parent), m_text(new QLabel(text, this)), m_answer(answer)
{
    setWindowTitle(TApplication::title());
    setWindowModality(Qt::ApplicationModal);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    for (int i = 0; i < buttons.size(); ++i) {
        auto *button = new QPushButton(buttons[i], this);
        connect(button, &QPushButton::clicked, this, [this, i] { done(i); });
        m_buttons << button;
    }
    // The default button also takes the focus when the box shows, so Enter presses it.
    m_buttons[m_answer]->setDefault(true);
    layOut();
}

void InfoBox::layOut()
{
    const DialogUnits du(fontMetrics());
    const int maxTextWidth = screen()->availableGeometry().width() / 2;
    const QRect textRect = fontMetrics().boundingRect(QRect(0, 0, maxTextWidth, 0),
                                                      Qt::TextWordWrap | Qt::TextExpandTabs,
                                                      m_text->text());
    // Every button as wide as the widest caption needs.
    int buttonWidth = du.x(50);
    for (const QPushButton *button : m_buttons)
        buttonWidth = std::max(buttonWidth, fontMetrics().horizontalAdvance(button->text()) + 8);
    const int buttonHeight = du.y(14);
    const int gap = du.x(4);
    const int rowWidth = int(m_buttons.size()) * (buttonWidth + gap) - gap;
    const int contentWidth = std::max(textRect.width(), rowWidth);
    const int width = contentWidth + 2 * du.x(8);
    const int height = textRect.height() + du.y(10) + buttonHeight + 2 * du.y(8);

    m_text->setGeometry(du.x(8), du.y(8), textRect.width(), textRect.height());
    const int rowTop = du.y(8) + textRect.height() + du.y(10);
    for (int i = 0, left = (width - rowWidth) / 2; i < m_buttons.size(); ++i, left += buttonWidth + gap)
        m_buttons[i]->setGeometry(left, rowTop, buttonWidth, buttonHeight);
    setFixedSize(width, height);
    move(screen()->availableGeometry().center() - rect().center());
}

QString InfoBox::clipboardText() const
{
    QString buttons;
    for (const QPushButton *button : m_buttons)
        buttons += QString(button->text()).remove(u'&') + QStringLiteral("   ");
    const QStringList lines = {dashes, windowTitle(), dashes, m_text->text(), dashes, buttons, dashes};
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

void InfoBox::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        QApplication::beep();
        QApplication::clipboard()->setText(clipboardText());
        return;
    }
    // Esc closes through reject(), Enter through the default button: both give the answer.
    QDialog::keyPressEvent(event);
}

void InfoBox::reject()
{
    done(m_answer);
}

void InfoBox::ShowMessage(const QString &text)
{
    InfoBox box(text);
    box.exec();
}

bool InfoBox::AskYesNo(const QString &text)
{
    InfoBox box(text, {Translation::appText("Да"), Translation::appText("Нет")}, 1);
    return box.exec() == 0;
}
