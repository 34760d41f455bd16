#include "chart/ChartAxis.h"

#include "chart/AxisException.h"
#include "chart/AxisLabels.h"
#include "chart/Chart.h"
#include "chart/ChartFont.h"
#include "chart/PainterClip.h"
#include "runtime/NumberFormat.h"
#include "runtime/Translation.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

constexpr TColor gridGray = 0x808080;

int roundEven(double value)
{
    return int(std::nearbyint(value));
}

} // namespace

TChartAxis::TChartAxis(TChart *chart, AxisSide side)
    : ChartPart(chart), m_side(side), m_labelsFont(chartFont(QStringLiteral("Arial"), 8)),
      m_axisPen(*this, clBlack, 2), m_grid(*this, gridGray, 1, psDot), m_ticks(*this, gridGray),
      m_ticksInner(*this, gridGray), m_minorTicks(*this, gridGray), m_minorGrid(*this, gridGray, 1, psSolid, false),
      m_titleFont(chartFont(QStringLiteral("Arial"), 8))
{
}

void TChartAxis::setMinimum(double value)
{
    const TChart *chart = ParentChart();
    if (value > m_maximum && !(chart && chart->Loading()))
        throw AxisException(Translation::frameworkText("Axis Minimum Value must be <= Maximum"));
    change(m_minimum, value);
}

void TChartAxis::setMaximum(double value)
{
    const TChart *chart = ParentChart();
    if (value < m_minimum && !(chart && chart->Loading()))
        throw AxisException(Translation::frameworkText("Axis Maximum Value must be >= Minimum"));
    change(m_maximum, value);
}

void TChartAxis::SetMinMax(double minimum, double maximum)
{
    m_automatic = m_automaticMinimum = m_automaticMaximum = false;
    if (minimum > maximum)
        std::swap(minimum, maximum);
    if (maximum - minimum < 1e-10)
        maximum = minimum + 1e-10;
    m_minimum = minimum;
    m_maximum = maximum;
    repaint();
}

void TChartAxis::setIncrement(double value)
{
    if (value < 0)
        throw AxisException(Translation::frameworkText("Axis increment must be >= 0"));
    change(m_increment, value);
}

void TChartAxis::setLabelsSeparation(int percent)
{
    if (percent < 0)
        // xgettext:no-c-format
        throw AxisException(Translation::frameworkText("Labels Separation % must be greater than 0"));
    change(m_labelsSeparation, percent);
}

void TChartAxis::computeRange(bool haveData, double dataMinimum, double dataMaximum)
{
    const bool automatic = m_automatic && haveData;
    m_effectiveMinimum = automatic && m_automaticMinimum ? dataMinimum : m_minimum;
    m_effectiveMaximum = automatic && m_automaticMaximum ? dataMaximum : m_maximum;
}

int TChartAxis::edgeOf(const ChartRect &plot) const
{
    switch (m_side) {
    case AxisSide::Left: return plot.left;
    case AxisSide::Top: return plot.top;
    case AxisSide::Right: return plot.right;
    case AxisSide::Bottom: break;
    }
    return plot.bottom;
}

void TChartAxis::shrink(ChartRect &plot, int pixels) const
{
    switch (m_side) {
    case AxisSide::Left: plot.left += pixels; break;
    case AxisSide::Top: plot.top += pixels; break;
    case AxisSide::Right: plot.right -= pixels; break;
    case AxisSide::Bottom: plot.bottom -= pixels; break;
    }
}

void TChartAxis::takeRoom(ChartRect &plot)
{
    placeOn(plot);
    if (!m_titleCaption.isEmpty()) {
        const QFontMetrics metrics(m_titleFont);
        shrink(plot, m_titleSize != 0 ? m_titleSize : metrics.height());
        m_titlePixel = edgeOf(plot);
    }
    if (m_labels) {
        shrink(plot, labelSize());
        m_labelPixel = edgeOf(plot);
    }
    shrink(plot, tickSize());
}

void TChartAxis::placeOn(const ChartRect &plot)
{
    const bool horizontal = Horizontal();
    m_map = AxisMapping::along(horizontal ? plot.left : plot.top, horizontal ? plot.width() : plot.height(),
                               m_startPosition, m_endPosition, m_effectiveMinimum, m_effectiveMaximum, horizontal,
                               m_inverted);
    const int shift = roundEven(m_positionPercent * 0.01 * (horizontal ? plot.height() : plot.width()));
    const bool farSide = m_side == AxisSide::Bottom || m_side == AxisSide::Right;
    m_axisPixel = edgeOf(plot) + (farSide ? -shift : shift);
}

bool TChartAxis::Clicked(QPoint point) const
{
    const bool farSide = m_side == AxisSide::Bottom || m_side == AxisSide::Right;
    const int inner = m_axisPixel + (farSide ? -3 : 3);
    const int outer = m_labels ? m_labelPixel : m_axisPixel;
    const int along = Horizontal() ? point.x() : point.y();
    const int across = Horizontal() ? point.y() : point.x();
    return along >= m_map.start() && along <= m_map.end() && across >= std::min(inner, outer) &&
           across <= std::max(inner, outer);
}

int TChartAxis::labelSize() const
{
    if (m_labelsSize != 0)
        return m_labelsSize;
    const QFontMetrics metrics(m_labelsFont);
    if (Horizontal())
        return metrics.height();
    const double step = labelIncrement();
    const int first = m_labelWidths.of(m_labelsFont, labelText(AxisLabels::roundedLabel(m_effectiveMinimum, step, m_roundFirstLabel)));
    const int last = m_labelWidths.of(m_labelsFont, labelText(AxisLabels::roundedLabel(m_effectiveMaximum, step, m_roundFirstLabel)));
    return std::max(first, last) + metrics.horizontalAdvance(QLatin1Char(' '));
}

int TChartAxis::tickSize() const
{
    int size = m_axisPen.draws() ? m_axisPen.Width() : 0;
    if (m_ticks.draws())
        size += m_tickLength;
    if (m_minorTicks.draws())
        size = std::max(size, m_minorTickLength);
    return size;
}

QString TChartAxis::labelText(double value) const
{
    return NumberFormat::formatValue(value);
}

double TChartAxis::labelIncrement() const
{
    const StepQuestion question{m_effectiveMinimum, m_effectiveMaximum, m_map.size(), m_labelsFont, m_increment,
                                m_labelsSeparation};
    for (const auto &answer : m_steps) {
        if (answer && answer->first == question)
            return answer->second;
    }
    auto &slot = m_steps[m_olderStep];
    m_olderStep = 1 - m_olderStep;
    slot.emplace(question, computeLabelIncrement());
    return slot->second;
}

double TChartAxis::computeLabelIncrement() const
{
    const QFontMetrics metrics(m_labelsFont);
    int size = metrics.height();
    if (Horizontal()) {
        size = std::max(m_labelWidths.of(m_labelsFont, labelText(m_effectiveMinimum)),
                        m_labelWidths.of(m_labelsFont, labelText(m_effectiveMaximum)));
    }
    const int count = AxisLabels::maxLabelCount(m_map.size(), size, m_labelsSeparation);
    return AxisLabels::increment(m_map.range(), count, m_increment, m_labelsSeparation);
}

void TChartAxis::draw(QPainter &painter, const ChartRect &plot)
{
    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    drawTitle(painter);
    drawLabels(painter);
    drawAxisLine(painter);
    if (m_ticks.draws()) {
        painter.setPen(m_ticks.qpen());
        drawTickMarks(painter, m_tickPixels, 1, m_tickLength);
    }
    if (m_grid.draws()) {
        painter.setPen(m_grid.qpen(m_grid.Color() == clDefault ? gridGray : m_grid.Color()));
        drawGridLines(painter, m_tickPixels, plot);
    }
    if (m_ticksInner.draws() && m_tickInnerLength > 0) {
        painter.setPen(m_ticksInner.qpen());
        drawTickMarks(painter, m_tickPixels, -1, -m_tickInnerLength);
    }
    const std::vector<int> minor = minorTickPixels();
    if (m_minorTicks.draws()) {
        painter.setPen(m_minorTicks.qpen());
        drawTickMarks(painter, minor, 1, m_minorTickLength);
    }
    if (m_minorGrid.draws()) {
        painter.setPen(m_minorGrid.qpen());
        drawGridLines(painter, minor, plot);
    }
    painter.restore();
}

void TChartAxis::drawLabels(QPainter &painter)
{
    m_tickPixels.clear();
    painter.setFont(m_labelsFont);
    painter.setPen(toQColor(clBlack));
    const LabelRun &run = labelRun(labelIncrement());
    const bool shown = m_labels && !clippedAway(painter, labelStrip());
    for (std::size_t i = 0; i < run.values.size(); ++i) {
        const int pixel = m_map.toPixel(run.values[i]);
        if (!m_labelsOnAxis && !(pixel > m_map.start() && pixel < m_map.end()))
            continue;
        if (m_labels || !m_tickOnLabelsOnly)
            m_tickPixels.push_back(pixel);
        if (shown)
            drawLabel(painter, pixel, run.texts[i]);
    }
}

const TChartAxis::LabelRun &TChartAxis::labelRun(double step) const
{
    const bool same = m_labelRun && m_labelRun->minimum == m_effectiveMinimum && m_labelRun->maximum == m_effectiveMaximum
                      && m_labelRun->step == step && m_labelRun->roundFirst == m_roundFirstLabel;
    if (!same) {
        LabelRun run{m_effectiveMinimum, m_effectiveMaximum, step, m_roundFirstLabel, {}, {}};
        run.values = AxisLabels::values(m_effectiveMinimum, m_effectiveMaximum, step, m_roundFirstLabel);
        for (const double value : run.values)
            run.texts.push_back(labelText(value));
        m_labelRun = std::move(run);
    }
    return *m_labelRun;
}

// The strip beside the axis that its labels can reach, a label height to spare.
QRect TChartAxis::labelStrip() const
{
    constexpr int far = 1 << 20;
    const int h = QFontMetrics(m_labelsFont).height();
    switch (m_side) {
    case AxisSide::Bottom: return QRect(-far, m_labelPixel - h, 2 * far, 3 * h);
    case AxisSide::Top: return QRect(-far, m_labelPixel - 2 * h, 2 * far, 3 * h);
    case AxisSide::Left: return QRect(-far, -far, far + m_labelPixel + h, 2 * far);
    case AxisSide::Right: break;
    }
    return QRect(m_labelPixel - h, -far, far, 2 * far);
}

void TChartAxis::drawLabel(QPainter &painter, int pixel, const QString &text) const
{
    const QFontMetrics metrics(m_labelsFont);
    const int width = m_labelWidths.of(m_labelsFont, text);
    int left = 0;
    int top = 0;
    switch (m_side) {
    case AxisSide::Bottom: left = pixel - width / 2; top = m_labelPixel; break;
    case AxisSide::Top: left = pixel - width / 2; top = m_labelPixel - metrics.height(); break;
    case AxisSide::Left: left = m_labelPixel - width; top = pixel - metrics.height() / 2; break;
    case AxisSide::Right: left = m_labelPixel; top = pixel - metrics.height() / 2; break;
    }
    // A label height to spare: glyphs may reach past their advance.
    const int h = metrics.height();
    if (clippedAway(painter, QRect(left, top, width, h).adjusted(-h, -h, h, h)))
        return;
    painter.drawText(QPoint(left, top + metrics.ascent()), text);
}

void TChartAxis::drawAxisLine(QPainter &painter) const
{
    if (!m_axisPen.draws())
        return;
    painter.setPen(m_axisPen.qpen());
    if (Horizontal())
        painter.drawLine(m_map.start(), m_axisPixel, m_map.end(), m_axisPixel);
    else
        painter.drawLine(m_axisPixel, m_map.start(), m_axisPixel, m_map.end());
}

// Marks of `length` pixels running outward (a negative length: inward) from `from`
// pixels beyond the axis line.
void TChartAxis::drawTickMarks(QPainter &painter, const std::vector<int> &pixels, int from, int length) const
{
    if (length == 0)
        return;
    const bool outwardIsPositive = m_side == AxisSide::Bottom || m_side == AxisSide::Right;
    const int direction = outwardIsPositive ? 1 : -1;
    const int begin = m_axisPixel + direction * from;
    const int end = begin + direction * (length - (length > 0 ? 1 : -1));
    const ClipBounds clip(painter);
    for (const int pixel : pixels) {
        const QLine line = Horizontal() ? QLine(pixel, begin, pixel, end) : QLine(begin, pixel, end, pixel);
        if (!clip.missesLine(line.p1(), line.p2(), painter.pen()))
            painter.drawLine(line);
    }
}

void TChartAxis::drawGridLines(QPainter &painter, const std::vector<int> &pixels, const ChartRect &plot) const
{
    const ClipBounds clip(painter);
    for (const int pixel : pixels) {
        const QLine line = Horizontal() ? QLine(pixel, plot.top, pixel, plot.bottom - 1)
                                        : QLine(plot.left, pixel, plot.right - 1, pixel);
        if (!clip.missesLine(line.p1(), line.p2(), painter.pen()))
            painter.drawLine(line);
    }
}

std::vector<int> TChartAxis::minorTickPixels() const
{
    std::vector<int> minor;
    const std::vector<int> &ticks = m_tickPixels;
    const int count = m_minorTickCount;
    const auto addBetween = [&](int a, int b) {
        for (int j = 1; j <= count; ++j) {
            const int pixel = b - roundEven(double(j) * (b - a) / (count + 1));
            if (pixel > m_map.start() && pixel < m_map.end())
                minor.push_back(pixel);
        }
    };
    for (std::size_t i = 1; i < ticks.size(); ++i)
        addBetween(ticks[i - 1], ticks[i]);
    if (ticks.size() >= 2) {
        // The spacing of the first pair runs on one interval past either end.
        const int spacing = ticks[1] - ticks[0];
        addBetween(ticks[0] - spacing, ticks[0]);
        addBetween(ticks.back(), ticks.back() + spacing);
    }
    return minor;
}

void TChartAxis::drawTitle(QPainter &painter) const
{
    if (m_titleCaption.isEmpty())
        return;
    painter.setFont(m_titleFont);
    painter.setPen(toQColor(clBlack));
    const QFontMetrics metrics(m_titleFont);
    const int width = metrics.horizontalAdvance(m_titleCaption);
    if (Horizontal()) {
        const int top = m_side == AxisSide::Bottom ? m_titlePixel : m_titlePixel - metrics.height();
        painter.drawText(QPoint(m_map.centre() - width / 2, top + metrics.ascent()), m_titleCaption);
        return;
    }
    // Vertical axes read their title bottom to top.
    painter.translate(m_side == AxisSide::Left ? m_titlePixel - metrics.height() : m_titlePixel, m_map.centre());
    painter.rotate(-90);
    painter.drawText(QPoint(-width / 2, metrics.ascent()), m_titleCaption);
}
