#pragma once

#include <QRect>

// A rectangle as the chart's layout rules work with it: edges, with right and bottom
// outside the area (width = right - left), the way the plotting rectangle shrinks.
struct ChartRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    QRect toQRect() const { return QRect(left, top, right - left, bottom - top); }
    static ChartRect fromQRect(const QRect &r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
};
