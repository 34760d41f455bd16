#pragma once

#include "runtime/Color.h"
#include "widgets/CircularSegments.h"

#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <optional>

class TProgressAppearance;

// The busy indicator: a ring of twelve segments in which one highlighted segment runs
// round clockwise, one per timer tick, alternately filling the ring with the active
// colour and emptying it again. It paints over its parent's background and takes no
// focus. The animation runs exactly while the control's own enabled flag is set,
// visible or not; stopping keeps the running segment and phase.
class TAdvCircularProgress : public QWidget
{
    Q_OBJECT

public:
    explicit TAdvCircularProgress(QWidget *parent = nullptr);
    ~TAdvCircularProgress() override;

    TProgressAppearance *Appearance() const { return m_appearance; }
    // Copies the colours of `appearance`.
    void setAppearance(const TProgressAppearance &appearance);

    std::uint32_t Interval() const { return std::uint32_t(m_timer.interval()); }
    void setInterval(std::uint32_t milliseconds);

    std::int32_t Min() const { return m_min; }
    std::int32_t Max() const { return m_max; }
    std::int32_t Position() const { return m_position; }
    std::int32_t Step() const { return m_step; }
    // Ignored when equal, negative or above Max; a Position below it follows it up.
    void setMin(std::int32_t value);
    // Ignored when equal or negative, accepted below Min; a Position above it follows
    // it down where it can (not below Min).
    void setMax(std::int32_t value);
    // Ignored outside Min..Max.
    void setPosition(std::int32_t value);
    void setStep(std::int32_t value) { m_step = value; }

    // The running segment, 1..12, and whether the ring is filling (true) or emptying.
    int CurrentSegment() const { return m_currentSegment; }
    bool FillPhase() const { return m_fillPhase; }
    bool isAnimating() const { return m_timer.isActive(); }

    // Starts or stops the animation with the control's own enabled flag. Enabling
    // through a QWidget pointer works too, except while a parent is disabled: Qt then
    // reports no change, so callers that may meet that case call this one.
    void setEnabled(bool enabled);

    // Segments that count as progress: 12 at Max, -1 at or below Min.
    int ProgressSegments() const;
    // The colour segment i (1..12) is painted in now; clNone for "not painted".
    TColor SegmentColor(int segment) const;
    // The ring's geometry for the current size, rebuilt when the size changes.
    const CircularSegments &Segments() const;

    // One animation step: moves the running segment on, repaints the part of the
    // control holding the two segments that changed and emits progressUpdated().
    void AdvanceSegment();

    // The part of `bounds` (the control in its parent's coordinates) that holds the
    // segments which change when `currentSegment` becomes the running one.
    static QRect changedPart(const QRect &bounds, int currentSegment);

signals:
    void progressUpdated();

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void runTimerWhileEnabled();
    void onTimer();

    TProgressAppearance *m_appearance;
    QTimer m_timer;
    std::int32_t m_min = 0;
    std::int32_t m_max = 100;
    std::int32_t m_position = 0;
    std::int32_t m_step = 10;
    int m_currentSegment = 1;
    bool m_fillPhase = true;
    mutable std::optional<CircularSegments> m_segments;
};
