#include "chart/ChartPen.h"

#include <QList>

namespace {

// Dash patterns in pen widths, close to the classic cosmetic dotted and dashed lines.
QList<qreal> dashPattern(TPenStyle style)
{
    switch (style) {
    case psDot: return {1, 1};
    case psDash: return {5, 3};
    case psDashDot: return {5, 2, 1, 2};
    case psDashDotDot: return {5, 2, 1, 2, 1, 2};
    default: return {};
    }
}

} // namespace

TChartPen::TChartPen(ChartPart &owner, TColor color, int width, TPenStyle style, bool visible)
    : ChartPart(owner), m_color(color), m_width(width), m_style(style), m_visible(visible)
{
}

QPen TChartPen::qpen(TColor color) const
{
    if (!draws())
        return QPen(Qt::NoPen);
    QPen pen(toQColor(color), qMax(1, m_width), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    const QList<qreal> pattern = dashPattern(m_style);
    if (!pattern.isEmpty())
        pen.setDashPattern(pattern);
    return pen;
}
