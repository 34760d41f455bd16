#include "chart/ReducedLinePainter.h"

#include "chart/ChartPen.h"

#include <QPainter>

ReducedLinePainter::ReducedLinePainter(QPainter &painter, const TChartPen &pen) : m_painter(painter), m_pen(pen)
{
}

void ReducedLinePainter::segment(QPoint from, QPoint to, TColor color)
{
    if (!m_inRun || color != m_runColor) {
        endRun();
        m_runColor = color;
        m_inRun = true;
    } else if (from != m_chainEnd) {
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

void ReducedLinePainter::addPoint(QPoint point)
{
    if (m_inColumn && point.x() == m_column.first.x()) {
        m_column.last = point;
        // Screen y grows downwards: "lowest" is the smallest y.
        if (point.y() < m_column.lowest.y()) {
            m_column.lowest = point;
            m_column.lowestBeforeHighest = false;
        } else if (point.y() > m_column.highest.y()) {
            m_column.highest = point;
            m_column.lowestBeforeHighest = true;
        }
        return;
    }
    endColumn();
    m_column = {point, point, point, point, true};
    m_inColumn = true;
}

void ReducedLinePainter::endColumn()
{
    if (!m_inColumn)
        return;
    emitPoint(m_column.first);
    if (m_column.lowestBeforeHighest) {
        emitPoint(m_column.lowest);
        emitPoint(m_column.highest);
    } else {
        emitPoint(m_column.highest);
        emitPoint(m_column.lowest);
    }
    emitPoint(m_column.last);
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

void ReducedLinePainter::emitPoint(QPoint point)
{
    if (m_hasEmitted && point != m_lastEmitted)
        m_lines.emplace_back(m_lastEmitted, point);
    m_lastEmitted = point;
    m_hasEmitted = true;
}
