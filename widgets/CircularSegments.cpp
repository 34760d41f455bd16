#include "widgets/CircularSegments.h"

#include <QtMath>
#include <algorithm>
#include <cmath>

namespace {

QRect holeIn(const QRect &outer)
{
    // Computed in floating point and truncated toward zero, as int() does.
    const double w = outer.width();
    const double h = outer.height();
    return QRect(int(w * 7 / 30), int(h * 7 / 30), int(w - w * 14 / 30), int(h - h * 14 / 30));
}

// The parametric angle of the ellipse point that lies on the ray at `degrees`: Qt's
// arcs take parametric angles, the ring's are angles of rays from the centre.
double parametric(double degrees, const QRectF &bounds)
{
    const double ray = qDegreesToRadians(degrees);
    const double turns = std::floor(degrees / 360.0) * 360.0;
    double angle = qRadiansToDegrees(std::atan2(bounds.width() * std::sin(ray), bounds.height() * std::cos(ray)));
    if (angle < 0)
        angle += 360.0;
    return turns + angle;
}

QPainterPath pie(const QRectF &bounds, int start, int sweep)
{
    const double from = parametric(start, bounds);
    double to = parametric(start + sweep, bounds);
    if (to < from)
        to += 360.0;
    // Qt counts angles counter-clockwise; the ring's angles run clockwise on screen.
    QPainterPath path(bounds.center());
    path.arcTo(bounds, -from, -(to - from));
    path.closeSubpath();
    return path;
}

} // namespace

CircularSegments::CircularSegments(QSize size, bool bordered)
    : m_size(size),
      m_sweep(sweepAngleFor(std::max(size.width(), size.height()))),
      m_outer(0, 0, size.width() - (bordered ? 1 : 0), size.height() - (bordered ? 1 : 0)),
      m_hole(holeIn(m_outer))
{
    for (int i = 1; i <= segmentCount; ++i)
        m_paths[std::size_t(i - 1)] = pie(QRectF(m_outer), startAngle(i), m_sweep);
    m_clip = QRegion(QRect(QPoint(0, 0), size)).subtracted(QRegion(m_hole, QRegion::Ellipse));
}

int CircularSegments::sweepAngleFor(int largerSide)
{
    if (largerSide < 40)
        return 22;
    if (largerSide < 60)
        return 23;
    if (largerSide < 100)
        return 24;
    if (largerSide < 200)
        return 25;
    return 26;
}
