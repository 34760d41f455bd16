#include "chart/Chart.h"

#include "chart/BmpWriter.h"
#include "chart/PainterClip.h"
#include "chart/SeriesView.h"
#include "runtime/Application.h"
#include "runtime/Exception.h"
#include "runtime/Translation.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScopeGuard>
#include <cmath>

namespace {

// Copies `region` of an image of the target's size and ratio onto it. Qt hands a blit
// of many rows to worker threads, which costs more than the copy itself when it
// happens a thousand times a second; slices of a few rows stay on this thread. A
// fractional ratio leaves the rounding of slice edges to Qt: one blit.
void copyRegion(QPainter &painter, const QImage &image, const QRegion &region)
{
    const qreal ratio = image.devicePixelRatio();
    const int whole = int(ratio);
    if (whole != ratio) {
        painter.save();
        painter.setClipRegion(region, Qt::IntersectClip);
        painter.drawImage(0, 0, image);
        painter.restore();
        return;
    }
    constexpr int sliceRows = 40;
    for (const QRect &r : region) {
        for (int top = r.top(); top <= r.bottom(); top += sliceRows) {
            const QRect slice(r.left(), top, r.width(), std::min(sliceRows, r.bottom() + 1 - top));
            painter.drawImage(slice, image, QRect(slice.topLeft() * whole, slice.size() * whole));
        }
    }
}

} // namespace

TChart::TChart(QWidget *parent) : QWidget(parent)
{
    // Every pixel comes from the off-screen image: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_topAxis.Grid().setStyle(psDash);
    m_rightAxis.Grid().setStyle(psDash);
}

TChart::~TChart()
{
    m_destroying = true;
    m_series.clear();
}

void TChart::setColor(TColor color) { change(m_color, color); }
void TChart::setView3D(bool on) { change(m_view3D, on); }
void TChart::setBevelOuter(TPanelBevel bevel) { change(m_bevelOuter, bevel); }
void TChart::setBevelInner(TPanelBevel bevel) { change(m_bevelInner, bevel); }
void TChart::setBevelWidth(int pixels) { change(m_bevelWidth, pixels); }
void TChart::setBorderWidth(int pixels) { change(m_borderWidth, pixels); }
void TChart::setAxisVisible(bool on) { change(m_axisVisible, on); }
void TChart::setClipPoints(bool on) { change(m_clipPoints, on); }
void TChart::setLineReduction(bool on) { change(m_lineReduction, on); }

void TChart::setMargins(int left, int top, int right, int bottom)
{
    const int margins[4] = {left, top, right, bottom};
    if (std::equal(std::begin(margins), std::end(margins), std::begin(m_margins)))
        return;
    std::copy(std::begin(margins), std::end(margins), std::begin(m_margins));
    Invalidate();
}

void TChart::setBufferedDisplay(bool on)
{
    if (m_buffered == on)
        return;
    m_buffered = on;
    m_buffer = QImage();
    Invalidate();
}

void TChart::AddSeries(std::unique_ptr<TChartSeries> series)
{
    series->setParentChart(this);
    m_series.push_back(std::move(series));
    Invalidate();
}

void TChart::Invalidate()
{
    m_bufferValid = false;
    m_band = QRect();
    m_appended = false;
    update();
}

void TChart::InvalidateBand(const QRect &band)
{
    if (!m_bufferValid)
        return update();
    // One rectangle around all of them: the traces of a tick share their columns, and
    // a rectangle is what the redrawing pass clips to cheaply.
    m_band |= band;
    m_appended = true;
    update(band);
    // Which legend rows change is worked out at the repaint; the window takes all of them.
    update(m_legend.drawnArea());
}

bool TChart::followsData(const TChartAxis &axis) const
{
    return axis.Automatic() && (axis.AutomaticMinimum() || axis.AutomaticMaximum());
}

void TChart::pointAppended(const TChartSeries &series)
{
    // Bands are worked out with the last pass's layout, which stays as long as nothing
    // but appends came since; automatic axes and unclipped lines make any append move
    // more than a band.
    const bool bandDoes = m_buffered && m_bufferValid && m_clipPoints && !followsData(horizontalAxisOf(series)) &&
                          !followsData(verticalAxisOf(series));
    if (!bandDoes)
        return Invalidate();
    InvalidateBand(series.lastPointBand(seriesView(series)));
}

void TChart::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Invalidate();
}

void TChart::paintEvent(QPaintEvent *event)
{
    QPainter window(this);
    if (m_buffered) {
        refreshBuffer();
        copyRegion(window, m_buffer, event->region());
    } else {
        drawPass(window, rect());
    }
    // Over the picture, never into it: the buffer and exported pictures stay clean.
    m_zoom.drawRectangle(window);
    m_readout.draw(window);
}

void TChart::refreshBuffer()
{
    // Drawn at the screen's pixel density: every pixel its own, text measured and drawn
    // at one size.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (m_buffer.size() != pixels || m_buffer.devicePixelRatio() != ratio) {
        m_buffer = QImage(pixels, QImage::Format_RGB32);
        m_buffer.setDevicePixelRatio(ratio);
        m_bufferValid = false;
    }
    if (m_bufferValid) {
        redrawBands();
    } else {
        QPainter offscreen(&m_buffer);
        drawPass(offscreen, rect());
        m_bufferValid = true;
        ++m_wholeRedraws;
    }
    m_band = QRect();
    m_appended = false;
}

// Redraws what the appends since the last pass changed: their band and the legend rows
// with a new last value, each by the same drawing pass clipped to it.
void TChart::redrawBands()
{
    if (!m_appended)
        return;
    QRect rows;
    const std::vector<const TChartSeries *> active = activeSeries();
    if (m_legend.Visible() && !active.empty()) {
        const ChartRect bounds = ChartRect::fromQRect(rect());
        const QRect shown = m_legend.drawnArea();
        if (!m_legend.changedArea(bounds, plotWithinMargins(bounds), active, rows)) {
            m_bufferValid = false;
            return refreshBuffer();
        }
        // A box that grew reaches past what the window was told to repaint.
        if (!shown.contains(rows))
            update(rows);
    }
    if (m_scratch.size() != m_buffer.size() || m_scratch.devicePixelRatio() != m_buffer.devicePixelRatio()) {
        m_scratch = QImage(m_buffer.size(), m_buffer.format());
        m_scratch.setDevicePixelRatio(m_buffer.devicePixelRatio());
    }
    // Apart, not as one region: under a clip region Qt walks every line through the
    // region's bounding box pixel by pixel, and the band and the rows lie far apart.
    if (!m_band.isEmpty())
        redrawArea(m_band, m_band);
    // A legend laid over the plotting area has lines beneath its rows.
    if (!rows.isEmpty())
        redrawArea(rows, rows & m_plotRect.toQRect());
}

// Qt rasterises a wide line slightly differently when it crosses a clip edge, so the
// series must be drawn under the very clip of a full pass (the plotting rectangle). The
// pass goes into a scratch image of the buffer's size, the rest of it clipped to `area`;
// only that area is taken over.
void TChart::redrawArea(const QRect &area, const QRect &walked)
{
    QPainter scratch(&m_scratch);
    scratch.setClipRect(area);
    drawPass(scratch, rect(), &walked);
    scratch.end();
    QPainter buffer(&m_buffer);
    buffer.setCompositionMode(QPainter::CompositionMode_Source);
    copyRegion(buffer, m_scratch, area);
}

void TChart::mousePressEvent(QMouseEvent *event)
{
    TApplication::guard([&] { m_zoom.press(event->button(), event->position().toPoint()); });
}

void TChart::mouseMoveEvent(QMouseEvent *event)
{
    TApplication::guard([&] { m_zoom.move(event->position().toPoint()); });
}

void TChart::mouseReleaseEvent(QMouseEvent *event)
{
    TApplication::guard([&] { m_zoom.release(event->button(), event->position().toPoint()); });
}

void TChart::wheelEvent(QWheelEvent *event)
{
    TApplication::guard([&] { m_zoom.wheel(event->angleDelta().y()); });
}

QImage TChart::RenderBitmap(TColor BackColor, const QRect &Rect)
{
    QImage bitmap(Rect.size(), QImage::Format_RGB32);
    if (Rect.isEmpty())
        return bitmap; // nothing to draw on: an empty picture
    if (bitmap.isNull())
        throw EOutOfResources(Translation::frameworkText("Out of system resources"));
    // A fresh picture is white; the drawing pass covers it with the panel anyway.
    bitmap.fill(BackColor == clWhite ? QColor(Qt::white) : toQColor(BackColor));
    const bool buffered = m_buffered;
    const auto restoreBuffering = qScopeGuard([&] { m_buffered = buffered; });
    m_buffered = false; // cppcheck-suppress redundantAssignment ; the guard above puts it back
    m_buffer = QImage();
    m_bufferValid = false;
    QPainter painter(&bitmap);
    drawPass(painter, bitmap.rect());
    painter.end();
    return bitmap;
}

void TChart::SaveBitmapFile(const QString &FileName)
{
    BmpWriter::save(RenderBitmap(clWhite, QRect(0, 0, width(), height())), FileName);
}

ChartRect TChart::plotWithinMargins(const ChartRect &bounds) const
{
    const auto percentOf = [](int size, int percent) { return int(std::lround(size * percent / 100.0)); };
    ChartRect plot = bounds;
    plot.left += m_borderWidth + percentOf(bounds.width(), m_margins[0]);
    plot.top += m_borderWidth + percentOf(bounds.height(), m_margins[1]);
    plot.right -= m_borderWidth + percentOf(bounds.width(), m_margins[2]);
    plot.bottom -= m_borderWidth + percentOf(bounds.height(), m_margins[3]);
    fixPlot(plot, bounds);
    return plot;
}

void TChart::fixPlot(ChartRect &plot, const ChartRect &bounds) const
{
    plot.left = std::max(plot.left, bounds.left);
    plot.top = std::max(plot.top, bounds.top);
    if (plot.right < plot.left)
        plot.right = plot.left + 1;
    else if (plot.right == plot.left)
        plot.right = plot.left + width();
    if (plot.bottom < plot.top)
        plot.bottom = plot.top + 1;
    else if (plot.bottom == plot.top)
        plot.bottom = plot.top + height();
}

void TChart::drawBevel(QPainter &painter, const ChartRect &area, TPanelBevel bevel) const
{
    if (bevel == bvNone)
        return;
    const QColor light = toQColor(clBtnHighlight);
    const QColor shadow = toQColor(clBtnShadow);
    const QColor &topLeft = bevel == bvRaised ? light : shadow;
    const QColor &bottomRight = bevel == bvRaised ? shadow : light;
    const ClipBounds clip(painter);
    const auto line = [&](const QColor &color, QPoint a, QPoint b) {
        if (clip.missesLine(a, b, QPen()))
            return;
        painter.setPen(color);
        painter.drawLine(a, b);
    };
    for (int i = 0; i < m_bevelWidth; ++i) {
        const int l = area.left + i, t = area.top + i, r = area.right - 1 - i, b = area.bottom - 1 - i;
        line(topLeft, {l, t}, {r, t});
        line(topLeft, {l, t}, {l, b});
        line(bottomRight, {r, t}, {r, b});
        line(bottomRight, {l, b}, {r, b});
    }
}

void TChart::drawPanel(QPainter &painter, const ChartRect &bounds) const
{
    fillInSlices(painter, bounds.toQRect(), toQColor(m_color));
    ChartRect area = bounds;
    drawBevel(painter, area, m_bevelOuter);
    if (m_bevelOuter != bvNone)
        area = {area.left + m_bevelWidth, area.top + m_bevelWidth, area.right - m_bevelWidth, area.bottom - m_bevelWidth};
    // The border between the bevels is in the panel colour, already filled.
    area = {area.left + m_borderWidth, area.top + m_borderWidth, area.right - m_borderWidth, area.bottom - m_borderWidth};
    drawBevel(painter, area, m_bevelInner);
}

std::vector<const TChartSeries *> TChart::activeSeries() const
{
    std::vector<const TChartSeries *> active;
    for (const auto &series : m_series) {
        if (series->Active())
            active.push_back(series.get());
    }
    return active;
}

bool TChart::usesAxis(const TChartSeries &series, const TChartAxis &axis) const
{
    switch (axis.side()) {
    case AxisSide::Bottom: return series.HorizAxis() == aBottomAxis;
    case AxisSide::Top: return series.HorizAxis() == aTopAxis;
    case AxisSide::Left: return series.VertAxis() == aLeftAxis;
    case AxisSide::Right: break;
    }
    return series.VertAxis() == aRightAxis;
}

const TChartAxis &TChart::horizontalAxisOf(const TChartSeries &series) const
{
    return series.HorizAxis() == aTopAxis ? m_topAxis : m_bottomAxis;
}

const TChartAxis &TChart::verticalAxisOf(const TChartSeries &series) const
{
    return series.VertAxis() == aRightAxis ? m_rightAxis : m_leftAxis;
}

std::vector<TChartAxis *> TChart::drawnAxes(const std::vector<const TChartSeries *> &active)
{
    std::vector<TChartAxis *> drawn;
    if (!m_axisVisible)
        return drawn;
    for (TChartAxis *axis : {&m_bottomAxis, &m_topAxis, &m_leftAxis, &m_rightAxis}) {
        const bool used = std::any_of(active.begin(), active.end(),
                                      [&](const TChartSeries *s) { return usesAxis(*s, *axis); });
        if (axis->Visible() && used)
            drawn.push_back(axis);
    }
    return drawn;
}

void TChart::computeAxisRange(TChartAxis &axis, const std::vector<const TChartSeries *> &active) const
{
    bool haveData = false;
    double minimum = 0;
    double maximum = 0;
    if (!followsData(axis))
        return axis.computeRange(false, 0, 0); // the data's extremes are not wanted
    for (const TChartSeries *series : active) {
        if (!usesAxis(*series, axis) || series->PointCount() == 0)
            continue;
        const TChartValueList &values = axis.Horizontal() ? series->XValues() : series->YValues();
        minimum = haveData ? std::min(minimum, values.MinValue()) : values.MinValue();
        maximum = haveData ? std::max(maximum, values.MaxValue()) : values.MaxValue();
        haveData = true;
    }
    axis.computeRange(haveData, minimum, maximum);
}

SeriesView TChart::seriesView(const TChartSeries &series) const
{
    SeriesView view;
    view.horizontal = horizontalAxisOf(series).mapping();
    view.vertical = verticalAxisOf(series).mapping();
    view.plot = m_plotRect;
    view.clipPoints = m_clipPoints;
    view.reduceLines = m_lineReduction;
    return view;
}

void TChart::drawPass(QPainter &painter, const QRect &target, const QRect *band)
{
    ++m_drawingPasses;
    const ChartRect bounds = ChartRect::fromQRect(target);
    ChartRect plot = plotWithinMargins(bounds);
    drawPanel(painter, bounds);
    const std::vector<const TChartSeries *> active = activeSeries();
    const bool legendShown = m_legend.Visible() && !active.empty();
    if (legendShown && m_legend.vertical()) {
        m_legend.draw(painter, bounds, plot, active);
        fixPlot(plot, bounds);
    }
    m_title.draw(painter, plot, true);
    m_foot.draw(painter, plot, false);
    fixPlot(plot, bounds);
    if (legendShown && !m_legend.vertical()) {
        m_legend.draw(painter, bounds, plot, active);
        fixPlot(plot, bounds);
    }
    for (TChartAxis *axis : {&m_bottomAxis, &m_topAxis, &m_leftAxis, &m_rightAxis})
        computeAxisRange(*axis, active);
    const std::vector<TChartAxis *> axes = drawnAxes(active);
    for (TChartAxis *axis : axes) {
        axis->takeRoom(plot);
        fixPlot(plot, bounds);
    }
    for (TChartAxis *axis : {&m_bottomAxis, &m_topAxis, &m_leftAxis, &m_rightAxis})
        axis->placeOn(plot);
    m_backWall.draw(painter, plot);
    for (TChartAxis *axis : axes)
        axis->draw(painter, plot);
    m_plotRect = plot;
    // A band that misses the plotting area leaves its lines as they are.
    if (!band || !band->isEmpty()) {
        for (const TChartSeries *series : active) {
            SeriesView view = seriesView(*series);
            if (band)
                view.band = *band;
            series->draw(painter, view);
        }
    }
}
