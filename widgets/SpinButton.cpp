#include "widgets/SpinButton.h"

#include <QImage>
#include <QPixmap>
#include <QToolButton>

namespace {

constexpr int repeatDelay = 400;    // ms from the press to the first repeated click
constexpr int repeatInterval = 100; // ms between repeated clicks

// A 9 x 6 glyph: a black triangle of rows 1, 3, 5 and 7 pixels, centred, with one clear
// row above and below; the point is at the top for the up arrow.
QPixmap arrowGlyph(bool up)
{
    QImage glyph(9, 6, QImage::Format_ARGB32);
    glyph.fill(Qt::transparent);
    for (int row = 0; row < 4; ++row) {
        const int halfWidth = row;
        const int y = up ? 1 + row : 4 - row;
        for (int x = 4 - halfWidth; x <= 4 + halfWidth; ++x)
            glyph.setPixel(x, y, qRgb(0, 0, 0));
    }
    return QPixmap::fromImage(glyph);
}

} // namespace

TSpinButton::TSpinButton(QWidget *parent) : QWidget(parent), m_up(makeArrow(true)), m_down(makeArrow(false))
{
    setFocusPolicy(Qt::NoFocus);
    connect(m_up, &QToolButton::clicked, this, &TSpinButton::upClicked);
    connect(m_down, &QToolButton::clicked, this, &TSpinButton::downClicked);
    resize(20, 25);
}

QToolButton *TSpinButton::makeArrow(bool up)
{
    auto *arrow = new QToolButton(this);
    arrow->setFocusPolicy(Qt::NoFocus);
    arrow->setIcon(arrowGlyph(up));
    arrow->setIconSize(QSize(9, 6));
    arrow->setAutoRepeat(true);
    arrow->setAutoRepeatDelay(repeatDelay);
    arrow->setAutoRepeatInterval(repeatInterval);
    connect(arrow, &QToolButton::pressed, this, &TSpinButton::arrowPressed);
    return arrow;
}

void TSpinButton::resizeEvent(QResizeEvent *)
{
    const int upHeight = height() / 2;
    m_up->setGeometry(0, 0, width(), upHeight);
    m_down->setGeometry(0, upHeight - 1, width(), height() - upHeight + 1);
}
