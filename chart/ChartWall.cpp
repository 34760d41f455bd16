#include "chart/ChartWall.h"

#include <QPainter>

TChartWall::TChartWall(TChart *chart) : ChartPart(chart), m_pen(*this, clBlack)
{
}

void TChartWall::draw(QPainter &painter, const ChartRect &plot) const
{
    // The frame runs on the rectangle's edges themselves: left..right, top..bottom.
    const QRect frame(plot.left, plot.top, plot.width(), plot.height());
    if (m_brushSolid)
        painter.fillRect(frame.adjusted(0, 0, 1, 1), toQColor(m_color));
    if (m_pen.draws()) {
        painter.setPen(m_pen.qpen());
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(frame);
    }
}
