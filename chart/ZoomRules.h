#pragma once

#include <QPoint>

class AxisMapping;

// The arithmetic of mouse zoom and panning: which drags count, and where an axis range
// goes for a zoom rectangle, an animation step, a pan or a wheel notch. Pure functions;
// TChartZoom applies them to the chart's axes.
namespace ZoomRules {

struct Range
{
    double minimum = 0;
    double maximum = 0;
};

enum class Release { Nothing, Zoom, Undo };

// What releasing a zoom drag from `start` to `end` does: a rectangle of more than 16
// pixels both ways zooms when it was dragged right and down, and undoes the zoom when
// it was dragged with any leftward or upward part; a smaller one does nothing.
Release releaseAction(QPoint start, QPoint end);

// The range an axis zooms to for the rectangle with corners a and b (in any order):
// a horizontal axis takes the values under its left and right edges, a vertical axis
// the value under its lower edge as the minimum and under its upper edge as the maximum.
Range zoomTarget(const AxisMapping &axis, QPoint a, QPoint b);

// One animated step: both limits move a third of the way to the target.
Range stepToward(Range current, Range target);

// The range after the pointer moved along the axis from one pixel to another: both
// limits shift by the value difference, so the traces follow the pointer.
Range panned(const AxisMapping &axis, Range current, int fromPixel, int toPixel);

// The range after `notches` wheel notches towards the user (negative: away from the
// user): each shifts both limits by 3 % of the range, upwards in value.
Range wheelShifted(Range current, int notches);

// Whether a press at p hits the line segment from a to b: within about one pixel of the
// line (the cross product against the longer side) and between the segment's ends.
bool pressOnSegment(QPoint p, QPoint a, QPoint b);

} // namespace ZoomRules
