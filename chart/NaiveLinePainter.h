#pragma once

#include "chart/LineSegmentSink.h"

#include <QPen>

class QPainter;
class TChartPen;

// Draws every segment with its own line call: the reference picture for the reduced
// drawing, and the way for pens whose dash pattern must run on along the line.
class NaiveLinePainter : public LineSegmentSink
{
public:
    NaiveLinePainter(QPainter &painter, const TChartPen &pen);
    void segment(QPoint from, QPoint to, TColor color) override;

private:
    QPainter &m_painter;
    const TChartPen &m_pen;
    TColor m_color = clNone;
};
