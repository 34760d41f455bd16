#pragma once

#include "chart/ChartPen.h"
#include "chart/ChartSeries.h"

class AxisMapping;
class LineSegmentSink;

// A series drawn as a line through its points in X order: segments take the colour of
// their end point, null points (clNone) break the line, points whose pixel lies beyond
// +-32766 are left out and the line joins their neighbours.
class TCustomSeries : public TChartSeries
{
public:
    TCustomSeries();

    TChartPen &LinePen() { return m_linePen; }
    const TChartPen &LinePen() const { return m_linePen; }

    void draw(QPainter &painter, const SeriesView &view) const override;
    // A press on a point's pixel or within about a pixel of a segment of the line.
    bool Clicked(const SeriesView &view, QPoint point) const override;
    void drawLegendSymbol(QPainter &painter, const QRect &box) const override;
    QRect lastPointBand(const SeriesView &view) const override;

    // The segments the line is made of, in drawing order, for the visible points.
    void walkLine(const SeriesView &view, LineSegmentSink &sink) const;

private:
    struct VisibleRange
    {
        int first;
        int last;
        double edgeValue; // X at the edge where the line starts
        int edgePixel;
    };

    // Where a walk limited to the view's band begins and ends: `start` is the point the
    // line comes from when it enters the band's reach, `last` the last point to visit.
    struct BandRange
    {
        int start;
        int last;
    };

    bool visibleRange(const SeriesView &view, VisibleRange &range) const;
    BandRange bandRange(const SeriesView &view, const VisibleRange &range) const;
    bool drawable(const SeriesView &view, int index) const;
    double edgeValue(const VisibleRange &range) const;
    bool valuesMapNear(const AxisMapping &vertical) const;

    template <typename Geometry, typename Sink>
    void walk(const SeriesView &view, Geometry &&geometry, Sink &sink) const;
    template <typename Geometry, typename Sink, typename Vertex>
    int sweepColumn(int i, int last, const Geometry &geometry, Sink &sink, Vertex &previous) const;

    TChartPen m_linePen;
};
