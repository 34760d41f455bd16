#include "chart/ChartLegend.h"

#include "chart/ChartFont.h"
#include "chart/ChartSeries.h"
#include "chart/LegendException.h"
#include "chart/PainterClip.h"
#include "runtime/NumberFormat.h"
#include "runtime/Translation.h"

#include <QFontMetrics>
#include <QPainter>
#include <bit>
#include <cmath>

TChartLegend::TChartLegend(TChart *chart)
    : ChartPart(chart), m_dividingLines(*this, clBlack, 1, psSolid, false),
      m_font(chartFont(QStringLiteral("Arial"), 8)), m_frame(*this, clBlack)
{
}

void TChartLegend::setColorWidth(int percent)
{
    if (percent < 0 || percent > 100)
        throw LegendException(Translation::frameworkText("Legend Color Width must be between 0 and 100 %"));
    change(m_colorWidth, percent);
}

void TChartLegend::setTopPos(int percent)
{
    if (percent < 0 || percent > 100)
        throw LegendException(Translation::frameworkText("Top Legend Position must be between 0 and 100 %"));
    change(m_topPos, percent);
}

void TChartLegend::setFirstValue(int value)
{
    if (value < 0)
        throw LegendException(Translation::frameworkText("First Legend Value must be > 0"));
    change(m_firstValue, value);
}

TLegendStyle TChartLegend::resolvedStyle(int activeSeries) const
{
    if (m_legendStyle != lsAuto)
        return m_legendStyle;
    return activeSeries < 2 ? lsValues : lsSeries;
}

QString TChartLegend::pointText(const TChartSeries &series, int index) const
{
    const QString label = series.PointLabel(index);
    const QString value = NumberFormat::formatValue(series.YValues().Value(index));
    QString text;
    switch (m_textStyle) {
    case ltsPlain: text = label; break;
    case ltsRightValue:
    case ltsRightPercent: text = value + QLatin1Char(' ') + label; break;
    case ltsXValue: text = NumberFormat::formatValue(series.XValues().Value(index)); break;
    case ltsLeftValue:
    case ltsLeftPercent: text = label + QLatin1Char(' ') + value; break;
    }
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// Formatting a value is the dear part of a row; a display tick changes at most one point
// per series, so the other rows reuse their text.
QString TChartLegend::lastValueText(const TChartSeries &series, std::size_t row) const
{
    if (series.PointCount() == 0)
        return QString();
    if (m_lastValueTexts.size() <= row)
        m_lastValueTexts.resize(row + 1);
    CachedText &cached = m_lastValueTexts[row];
    const int last = series.PointCount() - 1;
    const double x = series.XValues().Value(last);
    const double y = series.YValues().Value(last);
    const QString label = series.PointLabel(last);
    // Compared as bit patterns: the same NaN must hit, and -0 must not pass for 0.
    const auto same = [](double a, double b) { return std::bit_cast<quint64>(a) == std::bit_cast<quint64>(b); };
    if (!cached.valid || !same(cached.x, x) || !same(cached.y, y) || cached.label != label || cached.style != m_textStyle)
        cached = {x, y, label, m_textStyle, pointText(series, last), true};
    return cached.text;
}

std::vector<TChartLegend::Row> TChartLegend::rows(const std::vector<const TChartSeries *> &series) const
{
    std::vector<const TChartSeries *> shown;
    for (const TChartSeries *s : series) {
        if (s->Active() && s->ShowInLegend())
            shown.push_back(s);
    }
    std::vector<Row> rows;
    const TLegendStyle style = resolvedStyle(int(shown.size()));
    if (style == lsValues) {
        if (!shown.empty()) {
            for (int i = 0; i < shown.front()->PointCount(); ++i)
                rows.push_back({pointText(*shown.front(), i), shown.front()});
        }
    } else {
        for (const TChartSeries *s : shown) {
            if (style == lsSeries)
                rows.push_back({s->shownTitle(), s});
            else
                rows.push_back({lastValueText(*s, rows.size()), s});
        }
    }
    rows.erase(rows.begin(), rows.begin() + std::min<std::ptrdiff_t>(m_firstValue, std::ptrdiff_t(rows.size())));
    return rows;
}

TChartLegend::Layout TChartLegend::layOut(const ChartRect &bounds, const ChartRect &plot,
                                          const std::vector<const TChartSeries *> &series) const
{
    const QFontMetrics metrics(m_font);
    Layout layout;
    layout.rows = rows(series);
    layout.rowHeight = metrics.height();
    layout.ascent = metrics.ascent();
    LegendGeometry::Input input;
    input.boundsTop = bounds.top;
    input.boundsHeight = bounds.height();
    input.plotLeft = plot.left;
    input.plotRight = plot.right;
    input.plotBottom = plot.bottom;
    input.topPos = m_topPos;
    input.rowHeight = layout.rowHeight;
    input.frameWidth = m_frame.Width();
    input.frameVisible = m_frame.draws();
    input.colorWidth = m_colorWidth;
    input.alignRight = m_alignment == laRight;
    for (const Row &row : layout.rows)
        input.textWidths.push_back(m_textWidths.of(m_font, row.text));
    layout.geometry = LegendGeometry::layOut(input);
    return layout;
}

void TChartLegend::draw(QPainter &painter, const ChartRect &bounds, ChartRect &plot,
                        const std::vector<const TChartSeries *> &series) const
{
    if (!vertical()) {
        m_hasDrawn = false;
        narrowPlot(plot, LegendGeometry{});
        return;
    }
    m_drawn = layOut(bounds, plot, series);
    m_hasDrawn = true;
    const LegendGeometry &g = m_drawn.geometry;
    if (g.rows >= 1) {
        painter.save();
        drawBox(painter, g);
        painter.setFont(m_font);
        painter.setBackgroundMode(Qt::TransparentMode);
        const int h = m_drawn.rowHeight;
        for (int k = 0; k < g.rows; ++k) {
            const Row &row = m_drawn.rows[std::size_t(m_inverted ? g.rows - 1 - k : k)];
            const int y = g.top + 1 + k * h;
            if (clippedAway(painter, rowArea(g, k, h).adjusted(-h, -h, h, h)))
                continue;
            painter.setPen(toQColor(clBlack));
            painter.drawText(QPoint(g.textLeft, y + m_drawn.ascent), row.text);
            if (!row.text.isEmpty())
                row.series->drawLegendSymbol(painter, QRect(g.textLeft - 4 - g.colorBoxWidth, y + 2, g.colorBoxWidth, h - 4));
            if (k > 0 && m_dividingLines.draws()) {
                painter.setPen(m_dividingLines.qpen());
                painter.drawLine(g.left, y, g.right - 1, y);
            }
        }
        painter.restore();
    }
    narrowPlot(plot, g);
}

bool TChartLegend::changedArea(const ChartRect &bounds, const ChartRect &plot,
                               const std::vector<const TChartSeries *> &series, QRect &area) const
{
    area = QRect();
    if (!vertical())
        return true;
    if (!m_hasDrawn)
        return false;
    Layout now = layOut(bounds, plot, series);
    if (now.rowHeight != m_drawn.rowHeight)
        return false;
    if (!(now.geometry == m_drawn.geometry)) {
        // A value of another width resizes the box; unless that moves the plot, the
        // rest of the chart stays as it is.
        ChartRect before = plot;
        ChartRect after = plot;
        narrowPlot(before, m_drawn.geometry);
        narrowPlot(after, now.geometry);
        if (before.toQRect() != after.toQRect())
            return false;
        area = reachOf(m_drawn) | reachOf(now);
        m_drawn = std::move(now);
        return true;
    }
    const LegendGeometry &g = now.geometry;
    for (int k = 0; k < g.rows; ++k) {
        const std::size_t i = std::size_t(m_inverted ? g.rows - 1 - k : k);
        if (now.rows[i].series == m_drawn.rows[i].series && now.rows[i].text == m_drawn.rows[i].text)
            continue;
        area |= rowArea(g, k, now.rowHeight);
    }
    m_drawn = std::move(now);
    return true;
}

// All a drawing of `layout` can touch: the box with its shadow, a row height to spare
// for glyphs.
QRect TChartLegend::reachOf(const Layout &layout) const
{
    if (layout.geometry.rows < 1)
        return QRect();
    const QRect box = boxOf(layout.geometry);
    const int h = layout.rowHeight;
    return (box | box.translated(m_shadowSize, m_shadowSize)).adjusted(-h, -h, h, h);
}

// A row with two pixels to spare above and below for glyphs that reach past it.
QRect TChartLegend::rowArea(const LegendGeometry &g, int k, int rowHeight)
{
    const int y = g.top + 1 + k * rowHeight;
    return QRect(QPoint(g.left, y - 2), QPoint(g.right - 1, y + rowHeight + 1));
}

QRect TChartLegend::drawnArea() const
{
    const LegendGeometry &g = m_drawn.geometry;
    if (!m_hasDrawn || g.rows < 1)
        return QRect();
    return rowArea(g, 0, m_drawn.rowHeight) | rowArea(g, g.rows - 1, m_drawn.rowHeight);
}

bool TChartLegend::Clicked(QPoint point) const
{
    return m_hasDrawn && m_drawn.geometry.rows >= 1 && boxOf(m_drawn.geometry).contains(point);
}

QRect TChartLegend::boxOf(const LegendGeometry &g) const
{
    const int grow = m_frame.draws() ? m_frame.Width() : 0;
    return QRect(QPoint(g.left - grow, g.top - grow), QPoint(g.right + grow - 1, g.bottom + grow - 1));
}

void TChartLegend::drawBox(QPainter &painter, const LegendGeometry &g) const
{
    const QRect box = boxOf(g);
    if (m_shadowSize > 0)
        painter.fillRect(box.translated(m_shadowSize, m_shadowSize), toQColor(m_shadowColor));
    if (m_brushSolid)
        painter.fillRect(box, toQColor(m_color));
    if (m_frame.draws()) {
        painter.setPen(m_frame.qpen(m_frame.Color() == clDefault ? clBlack : m_frame.Color()));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.adjusted(0, 0, -1, -1));
    }
}

void TChartLegend::narrowPlot(ChartRect &plot, const LegendGeometry &g) const
{
    switch (m_alignment) {
    case laLeft:
        if (m_resizeChart)
            plot.left = g.right;
        plot.left += m_horizMargin != 0 ? m_horizMargin : int(std::lround(plot.width() * 0.03));
        break;
    case laRight:
        if (m_resizeChart)
            plot.right = g.left;
        plot.right -= m_horizMargin != 0 ? m_horizMargin : int(std::lround(plot.width() * 0.03));
        break;
    case laTop:
        plot.top += m_vertMargin != 0 ? m_vertMargin : int(std::lround(plot.height() * 0.04));
        break;
    case laBottom:
        plot.bottom -= m_vertMargin != 0 ? m_vertMargin : int(std::lround(plot.height() * 0.04));
        break;
    }
}
