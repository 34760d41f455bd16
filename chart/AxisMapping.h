#pragma once

#include <cmath>

// The linear map between the values of an axis and its pixels: the effective range and
// the start and end pixel along the axis, fixed for one drawing.
class AxisMapping
{
public:
    AxisMapping() = default;
    AxisMapping(double minimum, double maximum, int start, int end, bool horizontal, bool inverted);

    // The pixels of an axis that spans `span` pixels from `edge`, between two positions
    // given in percent of the span (rounded to the nearest pixel, ties to even).
    static AxisMapping along(int edge, int span, double startPercent, double endPercent, double minimum,
                             double maximum, bool horizontal, bool inverted);

    double minimum() const { return m_minimum; }
    double maximum() const { return m_maximum; }
    double range() const { return m_maximum - m_minimum; }
    int start() const { return m_start; }
    int end() const { return m_end; }
    int size() const { return m_end - m_start; }
    int centre() const { return (m_start + m_end) / 2; }
    bool horizontal() const { return m_horizontal; }
    bool inverted() const { return m_inverted; }

    // Larger values go right on a horizontal axis and up on a vertical one (the other
    // way when inverted). A zero range, a value too far off and NaN map to the centre.
    int toPixel(double value) const
    {
        // A double estimate is within a few units in the last place of the exact offset,
        // so it rounds to the same pixel unless it lies next to a half; only then (and
        // for far values) is the extended-precision rule worked out. Drawing a sweep
        // maps hundreds of thousands of points, so this stays inline and branch-light.
        const double d = (value - m_minimum) * m_scale;
        if (m_scale != 0 && std::fabs(d) < 1e9) {
            constexpr double shifter = 6755399441055744.0; // 1.5 * 2^52: rounds to even
            const double whole = (d + shifter) - shifter;
            if (0.5 - std::fabs(d - whole) > 1e-9 * (1 + std::fabs(d)))
                return placed(int(whole));
        }
        return exactPixel(value);
    }
    double toValue(int pixel) const;

private:
    int exactPixel(double value) const;
    int placed(int offset) const { return m_horizontal != m_inverted ? m_start + offset : m_end - offset; }

    double m_minimum = 0;
    double m_maximum = 0;
    int m_start = 0;
    int m_end = 0;
    bool m_horizontal = true;
    bool m_inverted = false;
    double m_scale = 0; // pixels per unit, for the quick first estimate
};
