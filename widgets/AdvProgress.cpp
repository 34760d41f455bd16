#include "widgets/AdvProgress.h"

#include "runtime/Exception.h"
#include "widgets/Bevel.h"
#include "runtime/Translation.h"

#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace {

// Width of the sunken edge; the bar fills what lies inside it.
constexpr int edgeWidth = 1;
// Space between two blocks of a bar that is not smooth.
constexpr int blockGap = 2;

} // namespace

TAdvProgress::TAdvProgress(QWidget *parent)
    : QWidget(parent), m_barRgb(toQColor(m_barColor)), m_bkRgb(toQColor(m_bkColor))
{
    // Edge and fill cover every pixel: the panel beneath need not paint when a bar moves.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(150, style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

void TAdvProgress::setRange(std::int32_t min, std::int32_t max)
{
    if (max < min)
        throw ERangeError(Translation::frameworkText("%1 property out of range").arg(QStringLiteral("TAdvProgress")));
    if (min == m_min && max == m_max)
        return;
    const bool lowerMinimum = min < m_min;
    m_min = min;
    m_max = max;
    m_position = lowerMinimum ? min : clamped(m_position);
    update();
}

void TAdvProgress::setPosition(std::int32_t position)
{
    const std::int32_t value = clamped(position);
    if (value == m_position)
        return;
    // A display tick sets every bar; most readings move a bar by less than a pixel, and
    // the rest change only the strip between the old and the new end of the fill (the
    // blocks of a bar that is not smooth lie at fixed places), so only that strip is
    // repainted and sent to the screen.
    const int before = filledPixels(m_position);
    const int after = filledPixels(value);
    m_position = value;
    if (after != before)
        update(stripBetween(before, after));
}

QRect TAdvProgress::innerRect() const
{
    return rect().adjusted(edgeWidth, edgeWidth, -edgeWidth, -edgeWidth);
}

// The part of the inner rectangle between two filled lengths, measured from the bar's start.
QRect TAdvProgress::stripBetween(int fromFilled, int toFilled) const
{
    const QRect inner = innerRect();
    const int low = std::min(fromFilled, toFilled);
    const int high = std::max(fromFilled, toFilled);
    return m_orientation == pbVertical ? QRect(inner.left(), inner.bottom() + 1 - high, inner.width(), high - low)
                                       : QRect(inner.left() + low, inner.top(), high - low, inner.height());
}

int TAdvProgress::filledPixels(std::int32_t position) const
{
    const int length = m_orientation == pbVertical ? height() : width();
    return filledLength(length - 2 * edgeWidth, m_min, m_max, position);
}

void TAdvProgress::setOrientation(TProgressBarOrientation orientation)
{
    if (orientation == m_orientation)
        return;
    m_orientation = orientation;
    update();
}

void TAdvProgress::setSmooth(bool smooth)
{
    if (smooth == m_smooth)
        return;
    m_smooth = smooth;
    update();
}

void TAdvProgress::setBarColor(TColor color)
{
    m_barColor = color;
    m_barRgb = toQColor(color);
    update();
}

void TAdvProgress::setBkColor(TColor color)
{
    m_bkColor = color;
    m_bkRgb = toQColor(color);
    update();
}

int TAdvProgress::filledLength(int length, std::int32_t min, std::int32_t max, std::int32_t position)
{
    if (max <= min || length <= 0)
        return 0;
    // 64-bit products: a range of 1023 x 100000 times a few hundred pixels overflows 32 bits.
    const std::int64_t range = std::int64_t(max) - min;
    const std::int64_t done = std::clamp<std::int64_t>(std::int64_t(position) - min, 0, range);
    return int((2 * done * length + range) / (2 * range));
}

std::int32_t TAdvProgress::clamped(std::int32_t position) const
{
    return std::clamp(position, m_min, m_max);
}

void TAdvProgress::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect inner = innerRect();
    Bevel::lowered().draw(painter, rect(), edgeWidth);
    painter.fillRect(inner, m_bkRgb);
    const int filled = filledPixels(m_position);
    if (m_smooth) {
        painter.fillRect(stripBetween(0, filled), m_barRgb);
    } else {
        paintBlocks(painter, inner, filled);
    }
}

void TAdvProgress::paintBlocks(QPainter &painter, const QRect &inner, int filled) const
{
    // Blocks two thirds as long as the bar is thick, the last one cut at the filled length.
    const bool vertical = m_orientation == pbVertical;
    const int block = std::max(1, (vertical ? inner.width() : inner.height()) * 2 / 3);
    painter.setClipRect(inner);
    for (int start = 0; start < filled; start += block + blockGap) {
        const int length = std::min(block, filled - start);
        painter.fillRect(stripBetween(start, start + length), m_barRgb);
    }
}
