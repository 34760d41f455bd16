#pragma once

#include "runtime/Color.h"

#include <QPoint>

// Receives the segments of a line series in drawing order; each segment is drawn in
// the colour of its end point.
class LineSegmentSink
{
public:
    virtual ~LineSegmentSink() = default;
    virtual void segment(QPoint from, QPoint to, TColor color) = 0;
    // Draws whatever is still held back.
    virtual void finish() {}
};
