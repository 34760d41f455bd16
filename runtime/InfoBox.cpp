#include "runtime/InfoBox.h"

#include "runtime/Application.h"

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

InfoBox::InfoBox(const QString &text, QWidget *parent)
    : QDialog(parent), m_text(new QLabel(text, this)), m_ok(new QPushButton(QStringLiteral("OK"), this))
{
    setWindowTitle(TApplication::title());
    setWindowModality(Qt::ApplicationModal);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    layOut();
}

void InfoBox::layOut()
{
    const DialogUnits du(fontMetrics());
    const int maxTextWidth = screen()->availableGeometry().width() / 2;
    const QRect textRect = fontMetrics().boundingRect(QRect(0, 0, maxTextWidth, 0),
                                                      Qt::TextWordWrap | Qt::TextExpandTabs,
                                                      m_text->text());
    const int buttonWidth = std::max(du.x(50), fontMetrics().horizontalAdvance(m_ok->text()) + 8);
    const int buttonHeight = du.y(14);
    const int contentWidth = std::max(textRect.width(), buttonWidth);
    const int width = contentWidth + 2 * du.x(8);
    const int height = textRect.height() + du.y(10) + buttonHeight + 2 * du.y(8);

    m_text->setGeometry(du.x(8), du.y(8), textRect.width(), textRect.height());
    m_ok->setGeometry((width - buttonWidth) / 2, du.y(8) + textRect.height() + du.y(10), buttonWidth,
                      buttonHeight);
    setFixedSize(width, height);
    move(screen()->availableGeometry().center() - rect().center());
}

QString InfoBox::clipboardText() const
{
    const QString buttons = QString(m_ok->text()).remove(u'&') + QStringLiteral("   ");
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
    // Esc closes through reject(), Enter through the default button: both are OK here.
    QDialog::keyPressEvent(event);
}

void InfoBox::ShowMessage(const QString &text)
{
    InfoBox box(text);
    box.exec();
}
