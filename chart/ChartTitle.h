#pragma once

#include "chart/ChartPart.h"
#include "chart/ChartPen.h"
#include "chart/ChartRect.h"

#include <QFont>
#include <QRect>
#include <QStringList>

class QPainter;

// A title above (or, as the foot, below) the plotting area: lines of text centred over
// the plotting rectangle, which then loses their height plus 5 pixels.
class TChartTitle : public ChartPart
{
public:
    explicit TChartTitle(TChart *chart);

    const QStringList &Text() const { return m_text; }
    void setText(const QStringList &lines) { change(m_text, lines); }
    bool Visible() const { return m_visible; }
    void setVisible(bool on) { change(m_visible, on); }
    Qt::Alignment Alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment alignment) { change(m_alignment, alignment); }
    const QFont &Font() const { return m_font; }
    void setFont(const QFont &font) { change(m_font, font); }
    TColor FontColor() const { return m_fontColor; }
    void setFontColor(TColor color) { change(m_fontColor, color); }
    TChartPen &Frame() { return m_frame; }

    // Draws from the top edge down (or the bottom edge up) and moves that edge.
    void draw(QPainter &painter, ChartRect &plot, bool atTop);
    // Whether a press hits the text block of the last drawing.
    bool Clicked(QPoint point) const { return m_shownRect.contains(point); }

private:
    static void movePlot(ChartRect &plot, bool atTop, int blockTop, int blockHeight);

    QStringList m_text;
    bool m_visible = true;
    Qt::Alignment m_alignment = Qt::AlignHCenter;
    QFont m_font;
    TColor m_fontColor = clBlue;
    TChartPen m_frame;
    QRect m_shownRect; // empty when nothing was drawn
};
