#pragma once

#include "chart/ChartPart.h"
#include "chart/ChartPen.h"
#include "chart/ChartRect.h"
#include "chart/LegendGeometry.h"
#include "chart/TextWidths.h"

#include <QFont>
#include <QRect>
#include <QString>
#include <vector>

class QPainter;
class TChartSeries;

enum TLegendStyle { lsAuto, lsSeries, lsValues, lsLastValues };
enum TLegendTextStyle { ltsPlain, ltsLeftValue, ltsRightValue, ltsLeftPercent, ltsRightPercent, ltsXValue };
enum TLegendAlignment { laLeft, laRight, laTop, laBottom };

// The framed box of rows beside the plotting area: per series its colour and a text
// (here the last value it received).
class TChartLegend : public ChartPart
{
public:
    explicit TChartLegend(TChart *chart);

    bool Visible() const { return m_visible; }
    void setVisible(bool on) { change(m_visible, on); }
    TLegendStyle LegendStyle() const { return m_legendStyle; }
    void setLegendStyle(TLegendStyle style) { change(m_legendStyle, style); }
    TLegendTextStyle TextStyle() const { return m_textStyle; }
    void setTextStyle(TLegendTextStyle style) { change(m_textStyle, style); }
    TLegendAlignment Alignment() const { return m_alignment; }
    void setAlignment(TLegendAlignment alignment) { change(m_alignment, alignment); }
    TColor Color() const { return m_color; }
    void setColor(TColor color) { change(m_color, color); }
    int ColorWidth() const { return m_colorWidth; }
    void setColorWidth(int percent);
    TChartPen &DividingLines() { return m_dividingLines; }
    const QFont &Font() const { return m_font; }
    void setFont(const QFont &font) { change(m_font, font); }
    TChartPen &Frame() { return m_frame; }
    bool BrushSolid() const { return m_brushSolid; }
    void setBrushSolid(bool on) { change(m_brushSolid, on); }
    int HorizMargin() const { return m_horizMargin; }
    void setHorizMargin(int pixels) { change(m_horizMargin, pixels); }
    int VertMargin() const { return m_vertMargin; }
    void setVertMargin(int pixels) { change(m_vertMargin, pixels); }
    int TopPos() const { return m_topPos; }
    void setTopPos(int percent);
    bool ResizeChart() const { return m_resizeChart; }
    void setResizeChart(bool on) { change(m_resizeChart, on); }
    int ShadowSize() const { return m_shadowSize; }
    void setShadowSize(int pixels) { change(m_shadowSize, pixels); }
    TColor ShadowColor() const { return m_shadowColor; }
    void setShadowColor(TColor color) { change(m_shadowColor, color); }
    int FirstValue() const { return m_firstValue; }
    void setFirstValue(int value);
    bool Inverted() const { return m_inverted; }
    void setInverted(bool on) { change(m_inverted, on); }

    bool vertical() const { return m_alignment == laLeft || m_alignment == laRight; }

    // The style in effect for a number of active series.
    TLegendStyle resolvedStyle(int activeSeries) const;

    // One row of the legend: its text and the series whose symbol it shows.
    struct Row
    {
        QString text;
        const TChartSeries *series;
    };
    std::vector<Row> rows(const std::vector<const TChartSeries *> &series) const;

    // Draws the legend inside `bounds` and narrows the plotting rectangle. The layout
    // drawn is remembered for changedArea.
    void draw(QPainter &painter, const ChartRect &bounds, ChartRect &plot,
              const std::vector<const TChartSeries *> &series) const;

    // After points were appended: what differs from the last drawing, as one rectangle
    // (empty when nothing does): the rows with a new text, or the box where it was and
    // is when its size changed. False when the plotting rectangle would move too, so
    // that the whole chart needs drawing. `plot` is the plotting rectangle the legend
    // was drawn beside.
    bool changedArea(const ChartRect &bounds, const ChartRect &plot,
                     const std::vector<const TChartSeries *> &series, QRect &area) const;

    // Where the last drawing put the rows, with the reach changedArea gives them.
    QRect drawnArea() const;
    // Whether a press hits the box of the last drawing.
    bool Clicked(QPoint point) const;

private:
    struct Layout
    {
        std::vector<Row> rows;
        LegendGeometry geometry;
        int rowHeight = 0;
        int ascent = 0;
    };

    // The last value text of a row, kept while the point it was made from stays the same.
    struct CachedText
    {
        double x = 0;
        double y = 0;
        QString label;
        TLegendTextStyle style = ltsPlain;
        QString text;
        bool valid = false;
    };

    Layout layOut(const ChartRect &bounds, const ChartRect &plot, const std::vector<const TChartSeries *> &series) const;
    QString pointText(const TChartSeries &series, int index) const;
    QString lastValueText(const TChartSeries &series, std::size_t row) const;
    static QRect rowArea(const LegendGeometry &g, int k, int rowHeight);
    QRect reachOf(const Layout &layout) const;
    QRect boxOf(const LegendGeometry &g) const;
    void drawBox(QPainter &painter, const LegendGeometry &g) const;
    void narrowPlot(ChartRect &plot, const LegendGeometry &g) const;

    bool m_visible = true;
    TLegendStyle m_legendStyle = lsAuto;
    TLegendTextStyle m_textStyle = ltsLeftValue;
    TLegendAlignment m_alignment = laRight;
    TColor m_color = clWhite;
    int m_colorWidth = 12;
    TChartPen m_dividingLines;
    QFont m_font;
    TChartPen m_frame;
    bool m_brushSolid = true;
    int m_horizMargin = 0;
    int m_vertMargin = 0;
    int m_topPos = 10;
    bool m_resizeChart = true;
    int m_shadowSize = 3;
    TColor m_shadowColor = clBlack;
    int m_firstValue = 0;
    bool m_inverted = false;

    mutable std::vector<CachedText> m_lastValueTexts; // per row
    mutable TextWidths m_textWidths;
    mutable Layout m_drawn;
    mutable bool m_hasDrawn = false;
};
