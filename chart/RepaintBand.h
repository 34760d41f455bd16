#pragma once

#include "chart/ChartRect.h"

#include <QPoint>
#include <QRect>

// The part of the plotting area that a new line segment can change: the rectangle
// between its two ends, widened on every side by the pen's width (a wide pen and its
// square caps reach that far beyond the end points), clipped to the plotting rectangle.
// Redrawing these pixels is enough after an append.
namespace RepaintBand {

QRect ofSegment(QPoint from, QPoint to, int penWidth, const ChartRect &plot);

} // namespace RepaintBand
