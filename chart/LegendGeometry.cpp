#include "chart/LegendGeometry.h"

#include <algorithm>
#include <cmath>

LegendGeometry LegendGeometry::layOut(const Input &input)
{
    LegendGeometry g;
    const int frame = input.frameVisible ? input.frameWidth : 0;
    g.top = input.boundsTop + int(std::lround(input.topPos * input.boundsHeight * 0.01));
    const int rowHeight = std::max(1, input.rowHeight);
    const int rowCount = int(input.textWidths.size());
    const int room = input.plotBottom - 2 * frame - g.top;
    g.rows = g.top >= input.plotBottom ? 0 : std::clamp(room / rowHeight, 0, rowCount);
    for (int i = 0; i < g.rows; ++i)
        g.textWidth = std::max(g.textWidth, input.textWidths[std::size_t(i)]);
    g.colorBoxWidth = int(std::lround((g.textWidth + 10) * input.colorWidth * 0.01));
    const int width = g.colorBoxWidth + g.textWidth + 10;
    const int inset = input.frameVisible ? frame + 1 : 0;
    g.left = input.alignRight ? input.plotRight - inset - width : input.plotLeft + inset;
    g.textLeft = g.left + 4 + g.colorBoxWidth + 4;
    g.right = g.left + width;
    g.bottom = g.top + g.rows * rowHeight + 2;
    return g;
}
