#include "chart/CustomSeries.h"

#include "chart/NaiveLinePainter.h"
#include "chart/ReducedLinePainter.h"
#include "chart/RepaintBand.h"
#include "chart/SeriesView.h"
#include "chart/ZoomRules.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <type_traits>
#include <vector>

namespace {

constexpr int pixelLimit = 32766;

// Points mapped to pixels on both axes: the drawing as the line rules state it.
struct PixelGeometry
{
    using Vertex = QPoint;
    static constexpr bool groupsColumns = false;

    const AxisMapping &horizontal;
    const AxisMapping &vertical;

    Vertex at(double x, double y) const { return {horizontal.toPixel(x), vertical.toPixel(y)}; }
    Vertex edge(int pixel, double y) const { return {pixel, vertical.toPixel(y)}; }
    static bool drawable(Vertex p) { return std::abs(p.x()) <= pixelLimit && std::abs(p.y()) <= pixelLimit; }
};

// Points kept as values on the vertical axis for the reduced drawing, which maps only
// the few it draws. Used only when every value of the series maps within the pixel
// limit, so that only the column needs the check. Hundreds of points share a column,
// so the X values safely inside the last column found skip the mapping.
class ColumnGeometry
{
public:
    using Vertex = ReducedLinePainter::Vertex;
    static constexpr bool groupsColumns = true;

    explicit ColumnGeometry(const AxisMapping &horizontal) : m_horizontal(horizontal) {}

    Vertex at(double x, double y)
    {
        if (!(x > m_safeLow && x < m_safeHigh))
            findColumn(x);
        return {m_column, y};
    }
    static Vertex edge(int pixel, double y) { return {pixel, y}; }
    static bool drawable(Vertex p) { return std::abs(p.x) <= pixelLimit; }
    // X values strictly between these share the column of the last point.
    double columnLow() const { return m_safeLow; }
    double columnHigh() const { return m_safeHigh; }

private:
    void findColumn(double x)
    {
        m_column = m_horizontal.toPixel(x);
        const double scale = m_horizontal.size() / m_horizontal.range();
        const int offset = m_horizontal.inverted() ? m_horizontal.end() - m_column : m_column - m_horizontal.start();
        // Offsets of this column lie within half a pixel of it; a margin far above the
        // rounding error of the estimate keeps values near a boundary on the exact path.
        constexpr double margin = 1e-6;
        const double a = m_horizontal.minimum() + (offset - 0.5 + margin) / scale;
        const double b = m_horizontal.minimum() + (offset + 0.5 - margin) / scale;
        const bool usable = std::isfinite(a) && std::isfinite(b) && std::abs(offset) < 1000000;
        m_safeLow = usable ? std::min(a, b) : 0;
        m_safeHigh = usable ? std::max(a, b) : 0;
    }

    const AxisMapping &m_horizontal;
    int m_column = 0;
    double m_safeLow = 0;
    double m_safeHigh = 0; // empty until the first column is found
};

// Hands the pixel segments of the walk to a virtual sink.
struct SinkAdapter
{
    LineSegmentSink &sink;
    void segment(QPoint from, QPoint to, TColor color) { sink.segment(from, to, color); }
    void finish() { sink.finish(); }
};

// Looks for a press on the segments of the line as the walk hands them over.
struct PressOnLine : LineSegmentSink
{
    explicit PressOnLine(QPoint p) : press(p) {}
    void segment(QPoint from, QPoint to, TColor) override
    {
        hit = hit || press == from || press == to || ZoomRules::pressOnSegment(press, from, to);
    }

    QPoint press;
    bool hit = false;
};

} // namespace

TCustomSeries::TCustomSeries() : m_linePen(*this, clBlack, 1)
{
}

bool TCustomSeries::visibleRange(const SeriesView &view, VisibleRange &range) const
{
    const AxisMapping &h = view.horizontal;
    range.edgePixel = h.inverted() ? view.plot.right : view.plot.left;
    range.edgeValue = h.toValue(range.edgePixel);
    if (XValues().Order() == loNone) {
        range.first = 0;
        range.last = PointCount() - 1;
        return PointCount() > 0;
    }
    range.first = XValues().firstAtOrAfter(range.edgeValue, 0);
    if (range.first >= PointCount())
        return false;
    const double farValue = h.toValue(h.inverted() ? view.plot.left : view.plot.right);
    range.last = XValues().Last() > farValue ? XValues().firstAtOrAfter(farValue, range.first) : PointCount() - 1;
    return true;
}

// The height of the line from point first - 1 to point first where it crosses the edge.
double TCustomSeries::edgeValue(const VisibleRange &range) const
{
    const int i = range.first;
    const double x0 = XValues().Value(i - 1);
    const double x1 = XValues().Value(i);
    const double y0 = YValues().Value(i - 1);
    const double y1 = YValues().Value(i);
    return x1 == x0 ? y0 : y0 + (y1 - y0) * (range.edgeValue - x0) / (x1 - x0);
}

// Whether every Y value of the series lands within the pixel limit on a monotone part of
// the map (values far enough off to map to the centre are not).
bool TCustomSeries::valuesMapNear(const AxisMapping &vertical) const
{
    const TChartValueList &y = YValues();
    if (!std::isfinite(y.Total()))
        return false;
    for (const double value : {y.MinValue(), y.MaxValue()}) {
        const bool far = vertical.range() != 0 &&
                         !(std::fabs((value - vertical.minimum()) * vertical.size() / vertical.range()) < 1e9);
        if (far || std::abs(vertical.toPixel(value)) > pixelLimit)
            return false;
    }
    return true;
}

bool TCustomSeries::drawable(const SeriesView &view, int index) const
{
    const PixelGeometry pixels{view.horizontal, view.vertical};
    return PixelGeometry::drawable(pixels.at(XValues().Value(index), YValues().Value(index)));
}

TCustomSeries::BandRange TCustomSeries::bandRange(const SeriesView &view, const VisibleRange &range) const
{
    // A segment reaches past its end columns by its square cap, at most 0.71 pen
    // widths on a diagonal: a whole pen width keeps points further off out of the walk.
    const int reach = std::max(1, m_linePen.Width());
    const double a = view.horizontal.toValue(view.band.left() - reach);
    const double b = view.horizontal.toValue(view.band.right() + reach);
    BandRange band{};
    // The segment into the band starts at the point before the first one within reach,
    // or further back when points there are left out by the pixel limit.
    band.start = std::max(range.first, XValues().firstAtOrAfter(std::min(a, b), range.first) - 1);
    while (band.start > range.first && !drawable(view, band.start))
        --band.start;
    // Likewise the segment out of the band ends at the first point past the reach, or
    // at the next one drawn after it.
    band.last = std::min(range.last, XValues().firstAtOrAfter(std::max(a, b), band.start));
    while (band.last < range.last && !drawable(view, band.last))
        ++band.last;
    return band;
}

template <typename Geometry, typename Sink>
void TCustomSeries::walk(const SeriesView &view, Geometry &&geometry, Sink &sink) const
{
    using Vertex = typename Geometry::Vertex;
    VisibleRange range{};
    if (!visibleRange(view, range))
        return;
    Vertex previous{};
    bool hasPrevious = false; // a line whose first point is left out starts at the next one
    TColor previousColor = clDefault;
    int begin = range.first;
    if (!view.band.isEmpty() && XValues().Order() == loAscending) {
        const BandRange band = bandRange(view, range);
        range.last = band.last;
        if (band.start > range.first) {
            // A drawn point: the line goes on from it as the whole walk would.
            previous = geometry.at(XValues().Value(band.start), YValues().Value(band.start));
            previousColor = PointColor(band.start);
            hasPrevious = true;
            begin = band.start + 1;
        }
    }
    ColorRunList::Cursor storedColor(colors(), begin);
    for (int i = begin; i <= range.last; ++i) {
        const TColor stored = storedColor.at(i);
        const TColor c = stored == clDefault ? PointColor(i) : stored;
        const Vertex p = geometry.at(XValues().Value(i), YValues().Value(i));
        if (!geometry.drawable(p)) {
            previousColor = c;
            continue;
        }
        if (previousColor == clNone)
            previous = p;
        bool joined = hasPrevious;
        if (i == range.first) {
            joined = i > 0 && PointColor(i - 1) != clNone;
            if (i > 0)
                previous = geometry.edge(range.edgePixel, edgeValue(range));
        }
        if (joined && !(p == previous) && c != clNone)
            sink.segment(previous, p, c);
        previous = p;
        previousColor = c;
        hasPrevious = true;
        if constexpr (std::decay_t<Geometry>::groupsColumns) {
            if (stored == c && sink.extendsColumn(p, c))
                i = sweepColumn(i, std::min(range.last, storedColor.runLast()), geometry, sink, previous);
        }
    }
    sink.finish();
}

// Hundreds of points of a dense line share a column and a colour: after point i, those
// only move the column's extremes, without a pixel mapped or a colour looked up each.
// Returns the last point swept.
template <typename Geometry, typename Sink, typename Vertex>
int TCustomSeries::sweepColumn(int i, int last, const Geometry &geometry, Sink &sink, Vertex &previous) const
{
    const TChartValueList &x = XValues();
    if (x.Order() != loAscending || i >= last || !(x.Value(i + 1) > geometry.columnLow()))
        return i;
    const int end = std::min(last, x.firstAtOrAfter(geometry.columnHigh(), i + 1) - 1);
    const TChartValueList &y = YValues();
    for (int k = i + 1; k <= end; ++k)
        sink.extendColumnTo(y.Value(k));
    if (end > i)
        previous.y = y.Value(end);
    return std::max(i, end);
}

void TCustomSeries::walkLine(const SeriesView &view, LineSegmentSink &sink) const
{
    SinkAdapter adapter{sink};
    walk(view, PixelGeometry{view.horizontal, view.vertical}, adapter);
}

void TCustomSeries::draw(QPainter &painter, const SeriesView &view) const
{
    if (!m_linePen.draws())
        return;
    painter.save();
    if (view.clipPoints)
        painter.setClipRect(view.plot.toQRect());
    if (view.reduceLines && m_linePen.Style() == psSolid && valuesMapNear(view.vertical)) {
        ReducedLinePainter line(painter, m_linePen, view.vertical);
        walk(view, ColumnGeometry{view.horizontal}, line);
    } else {
        NaiveLinePainter line(painter, m_linePen);
        walkLine(view, line);
    }
    painter.restore();
}

bool TCustomSeries::Clicked(const SeriesView &view, QPoint point) const
{
    PressOnLine press(point);
    walkLine(view, press);
    return press.hit;
}

QRect TCustomSeries::lastPointBand(const SeriesView &view) const
{
    const int last = PointCount() - 1;
    if (last < 0 || !m_linePen.draws() || !drawable(view, last))
        return {};
    // Out of X order the line may run anywhere.
    if (XValues().Order() != loAscending)
        return view.plot.toQRect();
    // The new segment comes from the last point drawn before it; points left out by the
    // pixel limit in between are passed over.
    int from = last - 1;
    while (from >= 0 && !drawable(view, from))
        --from;
    const PixelGeometry pixels{view.horizontal, view.vertical};
    const QPoint to = pixels.at(XValues().Value(last), YValues().Value(last));
    if (from < 0)
        return last > 0 ? view.plot.toQRect() : RepaintBand::ofSegment(to, to, m_linePen.Width(), view.plot);
    QPoint start = pixels.at(XValues().Value(from), YValues().Value(from));
    // A line entering from beyond the plot's edge starts on the edge at a height
    // interpolated through points that may not be drawn themselves: any height.
    if (start.x() < view.plot.left || start.x() >= view.plot.right)
        return RepaintBand::ofSegment(QPoint(start.x(), view.plot.top), QPoint(to.x(), view.plot.bottom - 1),
                                      m_linePen.Width(), view.plot);
    return RepaintBand::ofSegment(start, to, m_linePen.Width(), view.plot);
}

void TCustomSeries::drawLegendSymbol(QPainter &painter, const QRect &box) const
{
    if (ColorEachPoint() || SeriesColor() == clNone || !m_linePen.draws())
        return;
    painter.setPen(m_linePen.qpen(SeriesColor()));
    const int middle = box.top() + box.height() / 2;
    painter.drawLine(box.left(), middle, box.left() + box.width(), middle);
}
