#include "chart/ChartReadout.h"

#include "chart/Chart.h"
#include "chart/SeriesView.h"
#include "runtime/Application.h"
#include "runtime/NumberFormat.h"
#include "runtime/Translation.h"

#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <cstdlib>

namespace {

// How far a trace's point may lie from the pointer's column and still be its value.
constexpr int pointReach = 3;
// A press and release no further apart than this, both ways, is a click, not a drag;
// a zoom needs more than 16, so the two never meet.
constexpr int stillDistance = 2;

bool still(QPoint from, QPoint to)
{
    return std::abs(to.x() - from.x()) <= stillDistance && std::abs(to.y() - from.y()) <= stillDistance;
}

} // namespace

TChartReadout::TChartReadout(TChart &chart) : m_chart(chart)
{
    chart.setMouseTracking(true);
    // A click on the chart takes the keyboard from a field being edited; the chart stays
    // out of the tab chain.
    chart.setFocusPolicy(Qt::ClickFocus);
    chart.installEventFilter(this);
    // Escape removes the mark wherever the window's keyboard focus is: right after a
    // picture is saved it sits on that button. A dialog is a window of its own and
    // keeps its Escape.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), &chart);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, [this] { TApplication::guard([this] { removeMark(); }); });
}

bool TChartReadout::shown() const
{
    return m_over && !m_dragging && plotArea().contains(m_pointer);
}

QRect TChartReadout::plotArea() const
{
    return m_chart.plotRect().toQRect();
}

int TChartReadout::markColumn() const
{
    return m_mark ? m_chart.BottomAxis().mapping().toPixel(*m_mark) : 0;
}

TChartReadout::Values TChartReadout::values() const
{
    Values values;
    values.x = m_chart.BottomAxis().mapping().toValue(m_pointer.x());
    if (m_mark)
        values.deltaX = values.x - *m_mark;
    for (int i = 0; i < m_chart.SeriesCount(); ++i) {
        const TChartSeries &series = m_chart.Series(i);
        // A trace that holds no point is not drawn: nothing to read there.
        if (!series.Active() || series.PointCount() == 0)
            continue;
        const AxisMapping horizontal = m_chart.seriesView(series).horizontal;
        const int at = series.nearestPoint(horizontal, m_pointer.x(), pointReach);
        TraceValue trace{series.shownTitle(), at >= 0 ? series.PointColor(at) : series.SeriesColor(), {}, {}};
        if (at >= 0)
            trace.value = series.YValues().Value(at);
        const int there = m_mark ? series.nearestPoint(horizontal, markColumn(), pointReach) : -1;
        if (trace.value && there >= 0)
            trace.delta = *trace.value - series.YValues().Value(there);
        values.traces.push_back(trace);
    }
    return values;
}

std::vector<ReadoutBox::Line> TChartReadout::boxLines(const Values &values) const
{
    // Written as the axis labels write them, with one look at the locale for all.
    const NumberFormat::Separators separators = NumberFormat::systemSeparators();
    const auto number = [&](double value) { return NumberFormat::formatValue(value, separators); };
    const auto difference = [&](const std::optional<double> &delta) {
        return delta ? QStringLiteral("Δ ") + number(*delta) : QString();
    };
    std::vector<ReadoutBox::Line> lines{{QStringLiteral("X"), number(values.x), difference(values.deltaX), clWindowText}};
    for (const TraceValue &trace : values.traces) {
        const QString value = trace.value ? number(*trace.value) : Translation::appText("нет");
        lines.push_back({trace.name, value, difference(trace.delta), trace.color});
    }
    return lines;
}

void TChartReadout::removeMark()
{
    if (!m_mark)
        return;
    m_mark.reset();
    refresh();
}

bool TChartReadout::eventFilter(QObject *, QEvent *event)
{
    TApplication::guard([&] { handle(*event); });
    return false; // the chart and its zoom see every event as before
}

void TChartReadout::handle(QEvent &event)
{
    const auto point = [&] { return static_cast<QMouseEvent &>(event).position().toPoint(); };
    switch (event.type()) {
    case QEvent::MouseMove: return moved(point());
    // The second press of a double click comes as a double click.
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: return pressed(point());
    case QEvent::MouseButtonRelease: {
        const auto &mouse = static_cast<QMouseEvent &>(event);
        return released(mouse.button(), mouse.buttons(), point());
    }
    case QEvent::Leave:
    case QEvent::Hide:
        m_over = false;
        return refresh();
    default: return;
    }
}

void TChartReadout::moved(QPoint point)
{
    m_pointer = point;
    m_over = true;
    if (m_pressed && !still(m_press, point))
        m_dragging = true; // hidden until the buttons are up
    refresh();
}

void TChartReadout::pressed(QPoint point)
{
    m_pointer = point;
    m_over = true;
    if (m_pressed)
        return;
    m_pressed = true;
    m_dragging = false;
    m_press = point;
}

void TChartReadout::released(Qt::MouseButton button, Qt::MouseButtons stillHeld, QPoint point)
{
    m_pointer = point;
    if (button == Qt::LeftButton && m_pressed && !m_dragging && still(m_press, point))
        stillClick(m_press);
    if (stillHeld == Qt::NoButton) {
        m_pressed = false;
        m_dragging = false;
    }
    refresh();
}

void TChartReadout::stillClick(QPoint point)
{
    if (plotArea().contains(point))
        m_mark = m_chart.BottomAxis().mapping().toValue(point.x());
    else
        m_mark.reset();
}

TChartReadout::Overlay TChartReadout::overlayNow() const
{
    Overlay overlay;
    const QRect plot = plotArea();
    const auto column = [&](int x) { return QRect(x, plot.top(), 1, plot.height()); };
    if (shown()) {
        overlay.line = column(m_pointer.x());
        overlay.values = values();
        // Text is measured only when it changes: every repaint comes here, and a tick
        // that brought no point under the pointer changes nothing.
        const bool same = !m_overlay.line.isEmpty() && overlay.values == m_overlay.values &&
                          m_overlay.content.font() == m_chart.font();
        overlay.content = same ? m_overlay.content : ReadoutBox(boxLines(overlay.values), m_chart.font());
        overlay.box = ReadoutBox::placed(overlay.content.size(), m_pointer, m_chart.rect());
    }
    if (m_mark && plot.contains(markColumn(), plot.top()))
        overlay.mark = column(markColumn());
    return overlay;
}

void TChartReadout::refresh()
{
    Overlay now = overlayNow();
    const auto repaintMoved = [&](const QRect &was, const QRect &is, bool changed) {
        if (!changed)
            return;
        m_chart.update(was);
        m_chart.update(is);
    };
    repaintMoved(m_overlay.line, now.line, now.line != m_overlay.line);
    repaintMoved(m_overlay.mark, now.mark, now.mark != m_overlay.mark);
    repaintMoved(m_overlay.box, now.box, now.box != m_overlay.box || now.content != m_overlay.content);
    m_overlay = std::move(now);
}

void TChartReadout::draw(QPainter &painter)
{
    // A tick may have brought a point under a pointer that stands still.
    refresh();
    painter.save();
    if (!m_overlay.mark.isEmpty()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawLine(m_overlay.mark.topLeft(), m_overlay.mark.bottomLeft());
    }
    if (!m_overlay.line.isEmpty()) {
        painter.fillRect(m_overlay.line, Qt::black);
        m_overlay.content.paint(painter, m_overlay.box.topLeft());
    }
    painter.restore();
}
