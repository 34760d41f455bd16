#pragma once

#include "chart/Chart.h"
#include "chart/LineSeries.h"
#include "tests/support/PixelDifference.h"

#include <QImage>
#include <array>

// The main window's chart as the window builds it: designed settings, 825 x 249, line
// width 2 on every series.
struct FormChart
{
    FormChart();

    QImage render() { return chart.RenderBitmap(clWhite, QRect(0, 0, 825, 249)); }

    TChart chart;
    std::array<TLineSeries *, 6> series{};
};

// Pixels of one colour inside a rectangle.
int pixelsOfColor(const QImage &image, const QRect &area, TColor color);
