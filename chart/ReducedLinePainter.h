#pragma once

#include "chart/LineSegmentSink.h"

#include <QLine>
#include <vector>

class QPainter;
class TChartPen;

// Draws a dense line with few segments. Within one pixel column a connected line only
// runs up and down, so the segments through the column's first, lowest, highest and last
// point (in the order the line visits them) cover the same pixels as all of them.
// Segments of one colour are drawn with one call; a colour change flushes them first,
// so later segments still lie on top of earlier ones.
class ReducedLinePainter : public LineSegmentSink
{
public:
    ReducedLinePainter(QPainter &painter, const TChartPen &pen);
    void segment(QPoint from, QPoint to, TColor color) override;
    void finish() override;

private:
    struct Column
    {
        QPoint first;
        QPoint last;
        QPoint lowest;
        QPoint highest;
        bool lowestBeforeHighest = true;
    };

    void addPoint(QPoint point);
    void endColumn();
    void endChain();
    void endRun();
    void emitPoint(QPoint point);

    QPainter &m_painter;
    const TChartPen &m_pen;
    TColor m_runColor = clNone;
    bool m_inRun = false;
    bool m_inChain = false;
    QPoint m_chainEnd;
    bool m_inColumn = false;
    Column m_column;
    bool m_hasEmitted = false;
    QPoint m_lastEmitted;
    std::vector<QLine> m_lines;
};
