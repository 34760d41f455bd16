#pragma once

#include "chart/AxisMapping.h"
#include "chart/ChartRect.h"

// What a series needs from the chart to draw itself: the maps of its two axes, the
// plotting rectangle, and how to draw.
struct SeriesView
{
    AxisMapping horizontal;
    AxisMapping vertical;
    ChartRect plot;
    bool clipPoints = true;
    bool reduceLines = true; // dense lines drawn reduced per pixel column
};
