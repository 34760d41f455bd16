#include "widgets/AdvCircularProgress.h"

#include "runtime/Application.h"
#include "widgets/ProgressAppearance.h"

#include <QEvent>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <cmath>

TAdvCircularProgress::TAdvCircularProgress(QWidget *parent)
    : QWidget(parent), m_appearance(new TProgressAppearance(this))
{
    setFocusPolicy(Qt::NoFocus);
    m_timer.setInterval(100);
    connect(&m_timer, &QTimer::timeout, this, &TAdvCircularProgress::onTimer);
    connect(m_appearance, &TProgressAppearance::changed, this, qOverload<>(&QWidget::update));
    resize(60, 60);
    runTimerWhileEnabled();
}

TAdvCircularProgress::~TAdvCircularProgress() = default;

void TAdvCircularProgress::setAppearance(const TProgressAppearance &appearance)
{
    m_appearance->assign(appearance);
}

void TAdvCircularProgress::setInterval(std::uint32_t milliseconds)
{
    const int interval = int(std::min<std::uint32_t>(milliseconds, INT_MAX));
    if (interval != m_timer.interval())
        m_timer.setInterval(interval);
}

void TAdvCircularProgress::setMin(std::int32_t value)
{
    if (value == m_min || value < 0 || value > m_max)
        return;
    m_min = value;
    if (m_position < value)
        setPosition(value);
    update();
}

void TAdvCircularProgress::setMax(std::int32_t value)
{
    // A maximum below the minimum is accepted; the position then cannot follow it.
    if (value == m_max || value < 0)
        return;
    m_max = value;
    if (m_position > value)
        setPosition(value);
    update();
}

void TAdvCircularProgress::setPosition(std::int32_t value)
{
    if (value == m_position || value < m_min || value > m_max)
        return;
    m_position = value;
    update();
}

int TAdvCircularProgress::ProgressSegments() const
{
    if (m_position == m_max)
        return CircularSegments::segmentCount;
    if (m_position <= m_min)
        return -1;
    // Single precision for both the step and the quotient.
    const float perSegment = float(m_max - m_min) / 12.0f;
    const float segments = float(m_position) / perSegment;
    // A maximum at or below the minimum makes the quotient infinite or negative:
    // saturate instead of converting an out-of-range value.
    const double whole = std::trunc(double(segments));
    if (whole >= double(INT_MAX))
        return INT_MAX;
    if (whole <= double(INT_MIN))
        return INT_MIN;
    return int(whole);
}

TColor TAdvCircularProgress::SegmentColor(int segment) const
{
    const TProgressAppearance &colors = *m_appearance;
    if (segment == m_currentSegment)
        return colors.TransitionSegmentColor();
    const bool behind = segment < m_currentSegment;
    // Filling: behind is active, ahead shows progress or inactive; emptying: the reverse.
    if (behind == m_fillPhase)
        return colors.ActiveSegmentColor();
    return segment <= ProgressSegments() ? colors.ProgressSegmentColor() : colors.InActiveSegmentColor();
}

const CircularSegments &TAdvCircularProgress::Segments() const
{
    if (!m_segments || m_segments->size() != size())
        m_segments.emplace(size(), m_appearance->BorderColor() != clNone);
    return *m_segments;
}

void TAdvCircularProgress::AdvanceSegment()
{
    if (m_currentSegment < CircularSegments::segmentCount) {
        ++m_currentSegment;
    } else {
        m_fillPhase = !m_fillPhase;
        m_currentSegment = 1;
    }
    update(changedPart(geometry(), m_currentSegment).translated(-pos()));
    emit progressUpdated();
}

QRect TAdvCircularProgress::changedPart(const QRect &bounds, int currentSegment)
{
    // Edges as left/top/right/bottom with right and bottom exclusive; halves round
    // toward zero.
    int left = bounds.left();
    int top = bounds.top();
    int right = bounds.left() + bounds.width();
    int bottom = bounds.top() + bounds.height();
    const int halfWidth = bounds.width() / 2;
    const int halfHeight = bounds.height() / 2;
    switch (currentSegment) {
    case 1: bottom = top + halfHeight; break;
    case 2:
    case 3: left += halfWidth; bottom = top + halfHeight; break;
    case 4: left += halfWidth; break;
    case 5:
    case 6: left += halfWidth; top += halfHeight; break;
    case 7: top += halfHeight; break;
    case 8:
    case 9: right = right - halfWidth + 4; top += halfHeight; break;
    case 10: right -= halfWidth; break;
    default: right -= halfWidth; bottom = top + halfHeight + 4; break;
    }
    return QRect(left, top, right - left, bottom - top);
}

void TAdvCircularProgress::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const TProgressAppearance &colors = *m_appearance;
    if (colors.BackGroundColor() != clNone)
        painter.fillRect(rect(), toQColor(colors.BackGroundColor()));
    if (colors.BorderColor() != clNone) {
        painter.setPen(toQColor(colors.BorderColor()));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    const CircularSegments &ring = Segments();
    painter.setClipRegion(ring.clip());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int i = 1; i <= CircularSegments::segmentCount; ++i) {
        const TColor color = SegmentColor(i);
        if (color != clNone)
            painter.fillPath(ring.segment(i), toQColor(color));
    }
}

void TAdvCircularProgress::setEnabled(bool enabled)
{
    QWidget::setEnabled(enabled);
    runTimerWhileEnabled();
}

void TAdvCircularProgress::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        runTimerWhileEnabled();
    QWidget::changeEvent(event);
}

void TAdvCircularProgress::runTimerWhileEnabled()
{
    // The control's own flag, not one inherited from a disabled parent.
    const bool enabled = !testAttribute(Qt::WA_ForceDisabled);
    if (enabled != m_timer.isActive()) {
        if (enabled)
            m_timer.start();
        else
            m_timer.stop();
    }
}

void TAdvCircularProgress::onTimer()
{
    TApplication::guard([&] { AdvanceSegment(); });
}
