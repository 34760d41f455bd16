#pragma once

#include "chart/ChartPart.h"
#include "chart/ChartPen.h"
#include "chart/ChartRect.h"

class QPainter;

// The wall behind the series: a frame around the plotting rectangle, filled only when
// its brush is solid (clear here, so the panel colour shows through).
class TChartWall : public ChartPart
{
public:
    explicit TChartWall(TChart *chart);

    TChartPen &Pen() { return m_pen; }
    TColor Color() const { return m_color; }
    void setColor(TColor color) { change(m_color, color); }
    bool BrushSolid() const { return m_brushSolid; }
    void setBrushSolid(bool on) { change(m_brushSolid, on); }

    void draw(QPainter &painter, const ChartRect &plot) const;

private:
    TChartPen m_pen;
    TColor m_color = clWhite;
    bool m_brushSolid = false;
};
