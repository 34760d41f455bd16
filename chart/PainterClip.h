#pragma once

#include <QPainter>
#include <QRect>

// Whether everything drawn inside `area` (in the painter's coordinates) would be clipped
// away. A repaint of a small band then skips laying out text that cannot show.
inline bool clippedAway(const QPainter &painter, const QRect &area)
{
    return painter.hasClipping() && !painter.clipBoundingRect().intersects(QRectF(area));
}
