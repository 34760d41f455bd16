#pragma once

#include <QPainter>
#include <QRect>

#include <algorithm>
#include <cmath>

// What the painter's clip leaves of its device, taken once for many tests: a repaint
// of a small band skips what cannot show before Qt lays it out.
class ClipBounds
{
public:
    explicit ClipBounds(const QPainter &painter)
        : m_clipped(painter.hasClipping()), m_bounds(m_clipped ? painter.clipBoundingRect() : QRectF())
    {
    }

    // Whether everything drawn inside `area` (in the painter's coordinates) is clipped away.
    bool misses(const QRect &area) const { return m_clipped && !m_bounds.intersects(QRectF(area)); }

    // Whether a line from a to b drawn with `pen` is clipped away.
    bool missesLine(QPoint a, QPoint b, const QPen &pen) const
    {
        const int reach = std::max(1, int(std::ceil(pen.widthF())));
        return misses(QRect(a, b).normalized().adjusted(-reach, -reach, reach, reach));
    }

private:
    bool m_clipped;
    QRectF m_bounds;
};

inline bool clippedAway(const QPainter &painter, const QRect &area)
{
    return ClipBounds(painter).misses(area);
}

// Fills `area` in slices of a few rows, skipping those the clip leaves out: Qt hands a
// fill of many rows to worker threads, which costs more than the fill itself when a
// band is repainted a thousand times a second.
inline void fillInSlices(QPainter &painter, const QRect &area, const QColor &color)
{
    constexpr int sliceRows = 40;
    const ClipBounds clip(painter);
    for (int top = area.top(); top <= area.bottom(); top += sliceRows) {
        const QRect slice(area.left(), top, area.width(), std::min(sliceRows, area.bottom() + 1 - top));
        if (!clip.misses(slice))
            painter.fillRect(slice, color);
    }
}
