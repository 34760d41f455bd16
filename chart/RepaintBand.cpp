#include "chart/RepaintBand.h"

#include <algorithm>

namespace {

// The pixels from a to b widened by reach, within low .. high; false when none are left.
bool span(int a, int b, int reach, int low, int high, int &from, int &to)
{
    // 64-bit: pixels of points far off the axis come near the int limits.
    const long long first = std::max<long long>((long long)std::min(a, b) - reach, low);
    const long long last = std::min<long long>((long long)std::max(a, b) + reach, high);
    from = int(first);
    to = int(last);
    return first <= last;
}

} // namespace

QRect RepaintBand::ofSegment(QPoint from, QPoint to, int penWidth, const ChartRect &plot)
{
    const int reach = std::max(1, penWidth);
    int left, right, top, bottom;
    if (!span(from.x(), to.x(), reach, plot.left, plot.right - 1, left, right) ||
        !span(from.y(), to.y(), reach, plot.top, plot.bottom - 1, top, bottom))
        return {};
    return QRect(QPoint(left, top), QPoint(right, bottom));
}
