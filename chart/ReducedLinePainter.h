#pragma once

#include "chart/AxisMapping.h"
#include "runtime/Color.h"

#include <QLine>
#include <algorithm>
#include <vector>

class QPainter;
class TChartPen;

// Draws a dense line with few segments. Within one pixel column a connected line only
// runs up and down between the column's lowest and highest point: the segment from the
// first point of the column to the last of the one before, and the one between the
// extremes, cover the same pixels as all of them (a straight vertical segment covers
// the same pixels whichever way it runs).
// Because the vertical map is monotone, the column is tracked in values and only its
// four points are mapped to pixels. Segments of one colour are drawn with one call; a
// colour change flushes them first, so later segments still lie on top of earlier ones.
class ReducedLinePainter
{
public:
    // A point of the line: its pixel column and its value on the vertical axis.
    struct Vertex
    {
        int x;
        double y;
        bool operator==(const Vertex &other) const = default;
    };

    ReducedLinePainter(QPainter &painter, const TChartPen &pen, const AxisMapping &vertical);
    void segment(Vertex from, Vertex to, TColor color)
    {
        // The common case of a dense line, kept inline: the next point of the same run
        // and chain in the same column only moves the column's extremes.
        if (m_inColumn && to.x == m_column.x && m_inRun && color == m_runColor && from == m_chainEnd) {
            extendColumn(to.y);
            m_chainEnd = to;
            return;
        }
        startSegment(from, to, color);
    }
    void finish();

    // Whether a point after `p` in its column, of colour `color`, would only move the
    // column's extremes (the line goes on from `p` in the same run).
    bool extendsColumn(Vertex p, TColor color) const
    {
        return m_inColumn && p.x == m_column.x && m_inRun && color == m_runColor && p == m_chainEnd;
    }
    // The line goes on to `value` in the current column.
    void extendColumnTo(double value)
    {
        extendColumn(value);
        m_chainEnd.y = value;
    }

private:
    struct Column
    {
        int x = 0;
        double first = 0;
        double last = 0;
        double lowest = 0;
        double highest = 0;
    };

    void startSegment(Vertex from, Vertex to, TColor color);
    void addPoint(Vertex point);
    void extendColumn(double value)
    {
        m_column.last = value;
        m_column.lowest = std::min(m_column.lowest, value);
        m_column.highest = std::max(m_column.highest, value);
    }
    void endColumn();
    void endChain();
    void endRun();
    void emitPoint(int x, double value);

    QPainter &m_painter;
    const TChartPen &m_pen;
    const AxisMapping &m_vertical;
    TColor m_runColor = clNone;
    bool m_inRun = false;
    bool m_inChain = false;
    Vertex m_chainEnd{};
    bool m_inColumn = false;
    Column m_column;
    bool m_hasEmitted = false;
    QPoint m_lastEmitted;
    std::vector<QLine> m_lines;
};
