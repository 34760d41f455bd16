#pragma once

#include "chart/AxisMapping.h"
#include "chart/ChartRect.h"

#include <QRect>

// What a series needs from the chart to draw itself: the maps of its two axes, the
// plotting rectangle, and how to draw.
struct SeriesView
{
    AxisMapping horizontal;
    AxisMapping vertical;
    ChartRect plot;
    bool clipPoints = true;
    bool reduceLines = true; // dense lines drawn reduced per pixel column
    // When not empty, only the part of the picture inside these columns is wanted: the
    // walk skips the points whose segments cannot reach them.
    QRect band;
};
