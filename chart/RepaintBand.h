#pragma once

#include "chart/ChartRect.h"

#include <QRect>

// The part of the plotting area that a new line segment can change: the pixel columns
// between its two ends, widened on both sides by the pen's width (a wide pen and its
// square caps reach that far beyond the end points), over the plotting rectangle's
// whole height and clipped to it. Redrawing this band is enough after an append.
namespace RepaintBand {

QRect ofSegment(int fromColumn, int toColumn, int penWidth, const ChartRect &plot);

} // namespace RepaintBand
