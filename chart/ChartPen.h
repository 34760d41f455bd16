#pragma once

#include "chart/ChartPart.h"
#include "runtime/Color.h"

#include <QPen>

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// A pen of a chart part: colour, width in pixels, style and visibility.
class TChartPen : public ChartPart
{
public:
    TChartPen(ChartPart &owner, TColor color, int width = 1, TPenStyle style = psSolid, bool visible = true);

    TColor Color() const { return m_color; }
    void setColor(TColor color) { change(m_color, color); }
    int Width() const { return m_width; }
    void setWidth(int width) { change(m_width, width); }
    TPenStyle Style() const { return m_style; }
    void setStyle(TPenStyle style) { change(m_style, style); }
    bool Visible() const { return m_visible; }
    void setVisible(bool visible) { change(m_visible, visible); }

    // Whether anything is drawn with this pen at all.
    bool draws() const { return m_visible && m_style != psClear; }

    // The Qt pen in a given colour (the pen's own colour when the default is meant):
    // lines are aliased, so a 1-pixel pen hits whole pixels.
    QPen qpen(TColor color) const;
    QPen qpen() const { return qpen(m_color); }

private:
    TColor m_color;
    int m_width;
    TPenStyle m_style;
    bool m_visible;
};
