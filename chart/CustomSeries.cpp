#include "chart/CustomSeries.h"

#include "chart/NaiveLinePainter.h"
#include "chart/ReducedLinePainter.h"
#include "chart/SeriesView.h"

#include <QPainter>
#include <cstdlib>
#include <vector>

namespace {

constexpr int pixelLimit = 32766;

bool drawablePixel(QPoint p)
{
    return std::abs(p.x()) <= pixelLimit && std::abs(p.y()) <= pixelLimit;
}

} // namespace

TCustomSeries::TCustomSeries() : m_linePen(*this, clBlack, 1)
{
}

int TCustomSeries::firstAtOrAfter(double value, int from) const
{
    const TChartValueList &x = XValues();
    if (x.Order() != loAscending) {
        while (from < x.Count() && !(x.Value(from) >= value))
            ++from;
        return from;
    }
    int low = from;
    int high = x.Count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (x.Value(middle) >= value)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
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
    range.first = firstAtOrAfter(range.edgeValue, 0);
    if (range.first >= PointCount())
        return false;
    const double farValue = h.toValue(h.inverted() ? view.plot.left : view.plot.right);
    range.last = XValues().Last() > farValue ? firstAtOrAfter(farValue, range.first) : PointCount() - 1;
    return true;
}

QPoint TCustomSeries::edgeStart(const SeriesView &view, const VisibleRange &range) const
{
    const int i = range.first;
    const double x0 = XValues().Value(i - 1);
    const double x1 = XValues().Value(i);
    const double y0 = YValues().Value(i - 1);
    const double y1 = YValues().Value(i);
    const double y = x1 == x0 ? y0 : y0 + (y1 - y0) * (range.edgeValue - x0) / (x1 - x0);
    return QPoint(range.edgePixel, view.vertical.toPixel(y));
}

void TCustomSeries::walkLine(const SeriesView &view, LineSegmentSink &sink) const
{
    VisibleRange range{};
    if (!visibleRange(view, range))
        return;
    // Mapping all points first, in one tight loop, is much faster than mapping them
    // inside the walk with its branches.
    std::vector<QPoint> pixels(std::size_t(range.last - range.first + 1));
    for (int i = range.first; i <= range.last; ++i) {
        pixels[std::size_t(i - range.first)] =
            QPoint(view.horizontal.toPixel(XValues().Value(i)), view.vertical.toPixel(YValues().Value(i)));
    }
    ColorRunList::Cursor storedColor(colors(), range.first);
    QPoint previous;
    bool hasPrevious = false; // a line whose first point is left out starts at the next one
    TColor previousColor = clDefault;
    for (int i = range.first; i <= range.last; ++i) {
        const TColor stored = storedColor.at(i);
        const TColor c = stored == clDefault ? PointColor(i) : stored;
        const QPoint p = pixels[std::size_t(i - range.first)];
        if (!drawablePixel(p)) {
            previousColor = c;
            continue;
        }
        if (previousColor == clNone)
            previous = p;
        bool joined = hasPrevious;
        if (i == range.first) {
            joined = i > 0 && PointColor(i - 1) != clNone;
            if (i > 0)
                previous = edgeStart(view, range);
        }
        if (joined && p != previous && c != clNone)
            sink.segment(previous, p, c);
        previous = p;
        previousColor = c;
        hasPrevious = true;
    }
    sink.finish();
}

void TCustomSeries::draw(QPainter &painter, const SeriesView &view) const
{
    if (!m_linePen.draws())
        return;
    painter.save();
    if (view.clipPoints)
        painter.setClipRect(view.plot.toQRect());
    if (view.reduceLines && m_linePen.Style() == psSolid) {
        ReducedLinePainter line(painter, m_linePen);
        walkLine(view, line);
    } else {
        NaiveLinePainter line(painter, m_linePen);
        walkLine(view, line);
    }
    painter.restore();
}

void TCustomSeries::drawLegendSymbol(QPainter &painter, const QRect &box) const
{
    if (ColorEachPoint() || SeriesColor() == clNone || !m_linePen.draws())
        return;
    painter.setPen(m_linePen.qpen(SeriesColor()));
    const int middle = box.top() + box.height() / 2;
    painter.drawLine(box.left(), middle, box.left() + box.width(), middle);
}
