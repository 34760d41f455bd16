#include "chart/AxisMapping.h"

#include <cmath>

namespace {

int roundEven(double value)
{
    return int(std::nearbyint(value));
}

} // namespace

AxisMapping::AxisMapping(double minimum, double maximum, int start, int end, bool horizontal, bool inverted)
    : m_minimum(minimum), m_maximum(maximum), m_start(start), m_end(end), m_horizontal(horizontal),
      m_inverted(inverted), m_scale(maximum != minimum ? (end - start) / (maximum - minimum) : 0)
{
}

AxisMapping AxisMapping::along(int edge, int span, double startPercent, double endPercent, double minimum,
                               double maximum, bool horizontal, bool inverted)
{
    return AxisMapping(minimum, maximum, edge + roundEven(span * 0.01 * startPercent),
                       edge + roundEven(span * 0.01 * endPercent), horizontal, inverted);
}

// The rule itself: the offset in extended precision, rounded to a double, then to the
// nearest pixel (ties to even).
int AxisMapping::exactPixel(double value) const
{
    const double range = m_maximum - m_minimum;
    if (range == 0)
        return centre();
    const double d = double((static_cast<long double>(value) - m_minimum) * size() / range);
    if (!(std::fabs(d) < 2147483647.0))
        return centre();
    return placed(roundEven(d));
}

double AxisMapping::toValue(int pixel) const
{
    if (size() < 1)
        return 0;
    const double distance = m_inverted ? m_end - pixel : pixel - m_start;
    const double a = distance * range() / size();
    return m_horizontal ? m_minimum + a : m_maximum - a;
}
