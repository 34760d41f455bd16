#include "chart/ReducedLinePainter.h"

#include "chart/ChartPen.h"

#include <QPainter>

ReducedLinePainter::ReducedLinePainter(QPainter &painter, const TChartPen &pen, const AxisMapping &vertical)
    : m_painter(painter), m_pen(pen), m_vertical(vertical)
{
}

void ReducedLinePainter::startSegment(Vertex from, Vertex to, TColor color)
{
    if (!m_inRun || color != m_runColor) {
        endRun();
        m_runColor = color;
        m_inRun = true;
    } else if (!(from == m_chainEnd)) {
        endChain();
    }
    if (!m_inChain) {
        addPoint(from);
        m_inChain = true;
    }
    addPoint(to);
    m_chainEnd = to;
}

void ReducedLinePainter::finish()
{
    endRun();
    m_inRun = false;
}

void ReducedLinePainter::addPoint(Vertex point)
{
    if (m_inColumn && point.x == m_column.x) {
        extendColumn(point.y);
        return;
    }
    endColumn();
    m_column = {point.x, point.y, point.y, point.y, point.y};
    m_inColumn = true;
}

void ReducedLinePainter::endColumn()
{
    if (!m_inColumn)
        return;
    const Column &c = m_column;
    emitPoint(c.x, c.first);
    const QPoint lowest(c.x, m_vertical.toPixel(c.lowest));
    const QPoint highest(c.x, m_vertical.toPixel(c.highest));
    if (lowest != highest)
        m_lines.emplace_back(lowest, highest);
    m_lastEmitted = QPoint(c.x, m_vertical.toPixel(c.last));
    m_inColumn = false;
}

void ReducedLinePainter::endChain()
{
    endColumn();
    m_inChain = false;
    m_hasEmitted = false;
}

void ReducedLinePainter::endRun()
{
    endChain();
    if (m_lines.empty())
        return;
    m_painter.setPen(m_pen.qpen(m_runColor));
    m_painter.drawLines(m_lines.data(), int(m_lines.size()));
    m_lines.clear();
}

void ReducedLinePainter::emitPoint(int x, double value)
{
    const QPoint point(x, m_vertical.toPixel(value));
    if (m_hasEmitted && point != m_lastEmitted)
        m_lines.emplace_back(m_lastEmitted, point);
    m_lastEmitted = point;
    m_hasEmitted = true;
}
