#include "widgets/Bevel.h"

#include "runtime/Color.h"

#include <QPainter>

Bevel Bevel::raised()
{
    return Bevel(toQColor(clBtnHighlight), toQColor(clBtnShadow));
}

Bevel Bevel::lowered()
{
    return Bevel(toQColor(clBtnShadow), toQColor(clBtnHighlight));
}

void Bevel::draw(QPainter &painter, const QRect &rect, int width) const
{
    QRect edge = rect;
    for (int i = 0; i < width && edge.width() > 0 && edge.height() > 0; ++i) {
        // Whole pixels: fillRect is exact whatever the painter's render hints.
        painter.fillRect(QRect(edge.left(), edge.top(), 1, edge.height()), m_topLeft);
        painter.fillRect(QRect(edge.left(), edge.top(), edge.width(), 1), m_topLeft);
        painter.fillRect(QRect(edge.right(), edge.top(), 1, edge.height()), m_bottomRight);
        painter.fillRect(QRect(edge.left(), edge.bottom(), edge.width(), 1), m_bottomRight);
        edge.adjust(1, 1, -1, -1);
    }
}
