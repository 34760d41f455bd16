#include "widgets/SpinButton.h"

#include "widgets/TimerSpeedButton.h"

#include <QPixmap>

namespace {

// The glyphs are 16-colour bitmaps on this background colour.
constexpr QRgb glyphBackground = qRgb(128, 128, 0);

QImage loadGlyph(const QString &name)
{
    QImage glyph = QImage(QStringLiteral(":/widgets/%1.bmp").arg(name)).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < glyph.height(); ++y)
        for (int x = 0; x < glyph.width(); ++x)
            if (glyph.pixel(x, y) == glyphBackground)
                glyph.setPixel(x, y, qRgba(0, 0, 0, 0));
    return glyph;
}

} // namespace

TSpinButton::TSpinButton(QWidget *parent)
    : QWidget(parent), m_upGlyph(loadGlyph(QStringLiteral("SpinUp"))),
      m_downGlyph(loadGlyph(QStringLiteral("SpinDown"))), m_up(makeArrow(m_upGlyph)), m_down(makeArrow(m_downGlyph))
{
    setFocusPolicy(Qt::NoFocus);
    connect(m_up, &TTimerSpeedButton::clicked, this, &TSpinButton::upClicked);
    connect(m_down, &TTimerSpeedButton::clicked, this, &TSpinButton::downClicked);
    resize(20, 25);
}

TTimerSpeedButton *TSpinButton::makeArrow(const QImage &glyph)
{
    auto *arrow = new TTimerSpeedButton(this);
    arrow->setIcon(QPixmap::fromImage(glyph));
    arrow->setIconSize(glyph.size());
    connect(arrow, &TTimerSpeedButton::pressed, this, &TSpinButton::arrowPressed);
    return arrow;
}

void TSpinButton::resizeEvent(QResizeEvent *)
{
    const int upHeight = height() / 2;
    m_up->setGeometry(0, 0, width(), upHeight);
    m_down->setGeometry(0, upHeight - 1, width(), height() - upHeight + 1);
}
