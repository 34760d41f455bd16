#include "chart/ChartZoom.h"

#include "chart/Chart.h"
#include "chart/SeriesView.h"

#include <QPainter>

using ZoomRules::Range;

namespace {

constexpr Qt::MouseButton zoomButton = Qt::LeftButton;
constexpr Qt::MouseButton panningButton = Qt::RightButton;
constexpr int wheelNotch = 120;

Range rangeOf(const TChartAxis &axis)
{
    return {axis.Minimum(), axis.Maximum()};
}

void setRange(TChartAxis &axis, Range range)
{
    axis.SetMinMax(range.minimum, range.maximum);
}

} // namespace

TChartZoom::TChartZoom(TChart &chart) : m_chart(chart)
{
}

std::array<TChartAxis *, 4> TChartZoom::sideAxes() const
{
    return {&m_chart.LeftAxis(), &m_chart.RightAxis(), &m_chart.TopAxis(), &m_chart.BottomAxis()};
}

TChartZoom::Target TChartZoom::pressTarget(QPoint point) const
{
    const QRect plot = m_chart.plotRect().toQRect();
    bool anyActive = false;
    // A clipped line is not drawn outside the plotting area, so it cannot be hit there.
    const bool lineCanBeThere = !m_chart.ClipPoints() || plot.contains(point);
    for (int i = m_chart.SeriesCount() - 1; i >= 0; --i) {
        const TChartSeries &series = m_chart.Series(i);
        if (!series.Active())
            continue;
        anyActive = true;
        if (lineCanBeThere && series.Clicked(m_chart.seriesView(series), point))
            return Target::Series;
    }
    for (const TChartAxis *axis : m_chart.drawnAxes()) {
        if (axis->Clicked(point))
            return Target::Axis;
    }
    if (m_chart.Title().Clicked(point))
        return Target::Title;
    if (m_chart.Foot().Clicked(point))
        return Target::Foot;
    if (anyActive && plot.contains(point))
        return Target::Background;
    if (anyActive && m_chart.Legend().Visible() && m_chart.Legend().Clicked(point))
        return Target::Legend;
    return Target::Nothing;
}

void TChartZoom::press(Qt::MouseButton button, QPoint point)
{
    if (m_zoomDrag.active || m_panDrag.active)
        return;
    const Target target = pressTarget(point);
    if (target != Target::Series && target != Target::Axis && target != Target::Background)
        return;
    if (m_allowZoom && button == zoomButton) {
        m_zoomDrag = {true, point, point};
        m_chart.update();
    } else if (m_allowPanning != pmNone && button == panningButton) {
        m_panDrag = {true, point, point};
    }
}

void TChartZoom::move(QPoint point)
{
    if (m_zoomDrag.active && point != m_zoomDrag.current) {
        m_zoomDrag.current = point;
        m_chart.update(); // the picture is unchanged: only the rectangle moves over it
    }
    if (m_panDrag.active)
        pan(point);
}

void TChartZoom::release(Qt::MouseButton button, QPoint point)
{
    m_panDrag.active = false;
    if (!m_zoomDrag.active || button != zoomButton)
        return;
    m_zoomDrag.active = false;
    m_zoomDrag.current = point;
    switch (ZoomRules::releaseAction(m_zoomDrag.start, point)) {
    case ZoomRules::Release::Nothing:
        m_chart.update(); // takes the rectangle away
        return;
    case ZoomRules::Release::Zoom: zoom(m_zoomDrag.start, point); break;
    case ZoomRules::Release::Undo: undoZoom(); break;
    }
    m_chart.Invalidate();
}

void TChartZoom::saveScalesOnce()
{
    if (!m_scalesRestored)
        return;
    const auto axes = sideAxes();
    for (std::size_t i = 0; i < axes.size(); ++i) {
        const TChartAxis &axis = *axes[i];
        m_saved[i] = {axis.Automatic(), axis.AutomaticMinimum(), axis.AutomaticMaximum(), axis.Minimum(),
                      axis.Maximum()};
    }
    m_scalesRestored = false;
}

void TChartZoom::zoom(QPoint a, QPoint b)
{
    const auto axes = sideAxes();
    // The values under the corners come from the picture the operator dragged over.
    std::array<Range, 4> targets;
    for (std::size_t i = 0; i < axes.size(); ++i)
        targets[i] = ZoomRules::zoomTarget(axes[i]->mapping(), a, b);
    saveScalesOnce();
    if (m_animatedZoom) {
        for (int step = 1; step < m_animatedZoomSteps; ++step) {
            for (std::size_t i = 0; i < axes.size(); ++i)
                setRange(*axes[i], ZoomRules::stepToward(rangeOf(*axes[i]), targets[i]));
            repaintNow();
        }
    }
    for (std::size_t i = 0; i < axes.size(); ++i)
        setRange(*axes[i], targets[i]);
    m_zoomed = true;
}

void TChartZoom::undoZoom()
{
    if (!m_scalesRestored) {
        const auto axes = sideAxes();
        for (std::size_t i = 0; i < axes.size(); ++i) {
            TChartAxis &axis = *axes[i];
            const SavedScale &saved = m_saved[i];
            // Setting the range turns the automatic flags off; the saved ones follow.
            if (!saved.automatic)
                axis.SetMinMax(saved.minimum, saved.maximum);
            axis.setAutomatic(saved.automatic);
            axis.setAutomaticMinimum(saved.automaticMinimum);
            axis.setAutomaticMaximum(saved.automaticMaximum);
        }
        m_scalesRestored = true;
    }
    m_chart.Invalidate();
    m_zoomed = false;
}

void TChartZoom::pan(QPoint point)
{
    if (!m_chart.plotRect().toQRect().contains(point)) {
        m_panDrag.active = false;
        return;
    }
    const QPoint previous = m_panDrag.current;
    if (point == previous)
        return;
    saveScalesOnce();
    bool moved = false;
    const bool horizontal = m_allowPanning == pmHorizontal || m_allowPanning == pmBoth;
    const bool vertical = m_allowPanning == pmVertical || m_allowPanning == pmBoth;
    for (TChartAxis *axis : sideAxes()) {
        const int from = axis->Horizontal() ? previous.x() : previous.y();
        const int to = axis->Horizontal() ? point.x() : point.y();
        if (from == to || !(axis->Horizontal() ? horizontal : vertical))
            continue;
        setRange(*axis, ZoomRules::panned(axis->mapping(), rangeOf(*axis), from, to));
        moved = true;
    }
    m_panDrag.current = point;
    if (moved)
        m_chart.Invalidate();
}

void TChartZoom::wheel(int angleDelta)
{
    m_wheelAngle += angleDelta;
    const int notchesAway = m_wheelAngle / wheelNotch;
    if (notchesAway == 0)
        return;
    m_wheelAngle -= notchesAway * wheelNotch;
    for (TChartAxis *axis : sideAxes()) {
        if (!axis->Horizontal())
            setRange(*axis, ZoomRules::wheelShifted(rangeOf(*axis), -notchesAway));
    }
    repaintNow();
}

void TChartZoom::repaintNow()
{
    m_chart.Invalidate();
    m_chart.repaint();
}

void TChartZoom::drawRectangle(QPainter &painter) const
{
    if (!m_zoomDrag.active)
        return;
    // Right and bottom lie outside, as the platform draws rectangles.
    const int left = std::min(m_zoomDrag.start.x(), m_zoomDrag.current.x());
    const int right = std::max(m_zoomDrag.start.x(), m_zoomDrag.current.x());
    const int top = std::min(m_zoomDrag.start.y(), m_zoomDrag.current.y());
    const int bottom = std::max(m_zoomDrag.start.y(), m_zoomDrag.current.y());
    if (right == left || bottom == top)
        return;
    const QColor color = toQColor(m_chart.Color() == clWhite ? clBlack : m_chart.Color());
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    // Every outline pixel exactly once: a pixel inverted twice would vanish.
    const int width = right - left;
    const int inner = bottom - top - 2; // rows between the top and bottom edges
    painter.fillRect(QRect(left, top, width, 1), color);
    if (bottom - 1 > top)
        painter.fillRect(QRect(left, bottom - 1, width, 1), color);
    if (inner > 0) {
        painter.fillRect(QRect(left, top + 1, 1, inner), color);
        if (right - 1 > left)
            painter.fillRect(QRect(right - 1, top + 1, 1, inner), color);
    }
    painter.restore();
}
