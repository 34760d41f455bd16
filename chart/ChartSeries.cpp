#include "chart/ChartSeries.h"

#include "chart/AxisMapping.h"
#include "chart/Chart.h"

#include <array>
#include <cstdlib>

namespace {

constexpr std::array<TColor, 16> defaultPalette = {
    clRed, clGreen, clYellow, clBlue, clWhite, clGray, clFuchsia, clTeal,
    clNavy, clMaroon, clLime, clOlive, clPurple, clSilver, clAqua, clBlack,
};

} // namespace

TChartSeries::TChartSeries() : ChartPart(nullptr)
{
}

void TChartSeries::setActive(bool active)
{
    if (m_active == active)
        return;
    m_active = active;
    if (ParentChart())
        ParentChart()->Invalidate();
}

void TChartSeries::repaint()
{
    if (m_active && ParentChart() && !ParentChart()->destroying())
        ParentChart()->Invalidate();
}

int TChartSeries::AppendPoint(double X, double Y, const QString &Label, TColor Color)
{
    if (m_onBeforeAdd && !m_onBeforeAdd(*this))
        return -1;
    const int index = m_xValues.insertPosition(X);
    m_xValues.insertAt(index, X);
    m_yValues.insertAt(index, Y);
    m_colors.insert(index, Color);
    m_labels.insert(index, Label);
    if (m_onAfterAdd)
        m_onAfterAdd(*this, index);
    // A point at the end only lengthens the line: the chart redraws just the columns it
    // reaches. A point in the middle reroutes the line; that repaints everything.
    if (index == PointCount() - 1 && m_active && ParentChart() && !ParentChart()->destroying())
        ParentChart()->pointAppended(*this);
    else
        repaint();
    return index;
}

void TChartSeries::ClearPoints()
{
    m_xValues.Clear();
    m_yValues.Clear();
    m_colors.clear();
    m_labels.clear();
    if (m_onClearValues)
        m_onClearValues(*this);
    // A mark pinned on the traces has nothing left to compare with.
    if (ParentChart())
        ParentChart()->Readout().removeMark();
    repaint();
}

TColor TChartSeries::PointColor(int Index) const
{
    if (Index < 0 || Index >= m_colors.size())
        return m_seriesColor;
    const TColor stored = m_colors.at(Index);
    if (stored != clDefault)
        return stored;
    if (m_colorEachPoint)
        return defaultPalette[std::size_t(Index) % defaultPalette.size()];
    return m_seriesColor;
}

int TChartSeries::nearestPoint(const AxisMapping &horizontal, int column, int reach) const
{
    if (m_xValues.Order() != loAscending)
        return -1;
    const double target = horizontal.toValue(column);
    const auto inReach = [&](int i) {
        return i >= 0 && i < PointCount() && std::abs(horizontal.toPixel(m_xValues.Value(i)) - column) <= reach;
    };
    // Outwards from the column on both sides, the nearer candidate first; a null point
    // is stepped over, so a gap in the line shows no value.
    int after = m_xValues.firstAtOrAfter(target, 0);
    int before = after - 1;
    while (inReach(before) || inReach(after)) {
        const bool takeBefore =
            !inReach(after) || (inReach(before) && target - m_xValues.Value(before) <= m_xValues.Value(after) - target);
        const int candidate = takeBefore ? before-- : after++;
        if (PointColor(candidate) != clNone)
            return candidate;
    }
    return -1;
}

std::size_t TChartSeries::allocatedBytes() const
{
    return m_xValues.allocatedBytes() + m_yValues.allocatedBytes() + m_colors.allocatedBytes();
}
