#include "chart/NaiveLinePainter.h"

#include "chart/ChartPen.h"

#include <QPainter>

NaiveLinePainter::NaiveLinePainter(QPainter &painter, const TChartPen &pen) : m_painter(painter), m_pen(pen)
{
}

void NaiveLinePainter::segment(QPoint from, QPoint to, TColor color)
{
    if (color != m_color) {
        m_painter.setPen(m_pen.qpen(color));
        m_color = color;
    }
    m_painter.drawLine(from, to);
}
