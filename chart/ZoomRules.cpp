#include "chart/ZoomRules.h"

#include "chart/AxisMapping.h"

#include <algorithm>
#include <cstdlib>

namespace ZoomRules {

namespace {

// A drag must exceed this in both directions, so that a click or a slip of the hand
// changes nothing.
constexpr int dragThreshold = 16;
constexpr double animationFactor = 3.0;
constexpr double wheelShare = 0.03;

} // namespace

Release releaseAction(QPoint start, QPoint end)
{
    if (std::abs(end.x() - start.x()) <= dragThreshold || std::abs(end.y() - start.y()) <= dragThreshold)
        return Release::Nothing;
    return start.x() < end.x() && start.y() < end.y() ? Release::Zoom : Release::Undo;
}

Range zoomTarget(const AxisMapping &axis, QPoint a, QPoint b)
{
    if (axis.horizontal())
        return {axis.toValue(std::min(a.x(), b.x())), axis.toValue(std::max(a.x(), b.x()))};
    return {axis.toValue(std::max(a.y(), b.y())), axis.toValue(std::min(a.y(), b.y()))};
}

Range stepToward(Range current, Range target)
{
    return {current.minimum + (target.minimum - current.minimum) / animationFactor,
            current.maximum - (current.maximum - target.maximum) / animationFactor};
}

Range panned(const AxisMapping &axis, Range current, int fromPixel, int toPixel)
{
    const double d = axis.toValue(fromPixel) - axis.toValue(toPixel);
    return {current.minimum + d, current.maximum + d};
}

Range wheelShifted(Range current, int notches)
{
    const double shift = notches * wheelShare * (current.maximum - current.minimum);
    return {current.minimum + shift, current.maximum + shift};
}

bool pressOnSegment(QPoint p, QPoint a, QPoint b)
{
    // 64-bit: pixel offsets up to the drawing limit multiply beyond the range of int.
    const qint64 dx = b.x() - a.x();
    const qint64 dy = b.y() - a.y();
    const qint64 cross = qint64(p.x() - a.x()) * dy - qint64(p.y() - a.y()) * dx;
    const bool nearLine = std::abs(cross) < std::max(std::abs(dx), std::abs(dy));
    const bool betweenEnds = p.x() >= std::min(a.x(), b.x()) && p.x() <= std::max(a.x(), b.x()) &&
                             p.y() >= std::min(a.y(), b.y()) && p.y() <= std::max(a.y(), b.y());
    return nearLine && betweenEnds;
}

} // namespace ZoomRules
