#include "chart/RepaintBand.h"

#include <algorithm>

QRect RepaintBand::ofSegment(int fromColumn, int toColumn, int penWidth, const ChartRect &plot)
{
    const int reach = std::max(1, penWidth);
    // 64-bit: columns of points far off the axis come near the int limits.
    const long long left = std::max<long long>(std::min(fromColumn, toColumn) - (long long)reach, plot.left);
    const long long right = std::min<long long>(std::max(fromColumn, toColumn) + (long long)reach, plot.right - 1);
    if (left > right || plot.bottom <= plot.top)
        return {};
    return QRect(QPoint(int(left), plot.top), QPoint(int(right), plot.bottom - 1));
}
