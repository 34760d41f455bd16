#pragma once

#include <QPainter>
#include <QRect>

#include <algorithm>

// Whether everything drawn inside `area` (in the painter's coordinates) would be clipped
// away. A repaint of a small band then skips laying out text that cannot show.
inline bool clippedAway(const QPainter &painter, const QRect &area)
{
    return painter.hasClipping() && !painter.clipBoundingRect().intersects(QRectF(area));
}

// Fills `area` in slices of a few rows, skipping those the clip leaves out: Qt hands a
// fill of many rows to worker threads, which costs more than the fill itself when a
// band is repainted a thousand times a second.
inline void fillInSlices(QPainter &painter, const QRect &area, const QColor &color)
{
    constexpr int sliceRows = 40;
    for (int top = area.top(); top <= area.bottom(); top += sliceRows) {
        const QRect slice(area.left(), top, area.width(), std::min(sliceRows, area.bottom() + 1 - top));
        if (!clippedAway(painter, slice))
            painter.fillRect(slice, color);
    }
}
