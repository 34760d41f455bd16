#include "widgets/AdvPanel.h"

#include "widgets/Bevel.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <optional>

namespace {

std::optional<Bevel> bevelFor(TPanelBevel kind)
{
    switch (kind) {
    case bvRaised: return Bevel::raised();
    case bvLowered: return Bevel::lowered();
    case bvNone:
    case bvSpace: break;
    }
    return std::nullopt;
}

} // namespace

TAdvPanel::TAdvPanel(QWidget *parent) : QWidget(parent)
{
    // The panel covers every pixel itself: Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont panelFont(QStringLiteral("Tahoma"));
    panelFont.setPixelSize(11);
    setFont(panelFont);
    QPalette panelPalette = palette();
    panelPalette.setColor(QPalette::WindowText, toQColor(clWindowText));
    setPalette(panelPalette);
}

template <typename T>
void TAdvPanel::change(T &field, T value)
{
    if (field == value)
        return;
    field = value;
    update();
}

void TAdvPanel::setColor(TColor color) { change(m_color, color); }
void TAdvPanel::setBevelOuter(TPanelBevel bevel) { change(m_bevelOuter, bevel); }
void TAdvPanel::setBevelInner(TPanelBevel bevel) { change(m_bevelInner, bevel); }
void TAdvPanel::setBevelWidth(int width) { change(m_bevelWidth, width); }
void TAdvPanel::setBuffered(bool buffered) { change(m_buffered, buffered); }

void TAdvPanel::paintEvent(QPaintEvent *event)
{
    const QRect exposed = event->rect() & rect();
    if (exposed.isEmpty())
        return;
    QPainter painter(this);
    if (!m_buffered) {
        paintPanel(painter);
        return;
    }
    // Only the part to be shown goes through the buffer, at the screen's pixel density
    // so that a scaled screen gets sharp edges.
    const qreal ratio = devicePixelRatioF();
    QImage buffer((QSizeF(exposed.size()) * ratio).toSize(), QImage::Format_RGB32);
    buffer.setDevicePixelRatio(ratio);
    QPainter bufferPainter(&buffer);
    bufferPainter.translate(-exposed.topLeft());
    paintPanel(bufferPainter);
    bufferPainter.end();
    painter.drawImage(exposed.topLeft(), buffer);
}

void TAdvPanel::paintPanel(QPainter &painter) const
{
    painter.fillRect(rect(), toQColor(m_color));
    // The inner edge sits inside the outer one, each BevelWidth pixels deep.
    QRect edge = rect();
    for (TPanelBevel kind : {m_bevelOuter, m_bevelInner}) {
        if (kind == bvNone)
            continue;
        if (const auto bevel = bevelFor(kind))
            bevel->draw(painter, edge, m_bevelWidth);
        edge.adjust(m_bevelWidth, m_bevelWidth, -m_bevelWidth, -m_bevelWidth);
    }
}
