#pragma once

#include <QPainterPath>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <array>

// The geometry of the busy indicator's ring for one control size: twelve pie slices of
// the ellipse inscribed in the control, one every 30 degrees starting at the top, and
// the elliptic hole in the middle that no slice may paint over.
class CircularSegments
{
public:
    static constexpr int segmentCount = 12;

    // `bordered`: the control draws a one-pixel border, so the ellipse keeps clear of
    // its right and bottom pixel.
    CircularSegments(QSize size, bool bordered);

    // Degrees each slice covers, by the larger side of the control.
    static int sweepAngleFor(int largerSide);
    // Start of slice i (1..12) in degrees clockwise from the positive x-axis.
    static int startAngle(int segment) { return segment * 30 - 120; }

    QSize size() const { return m_size; }
    int sweepAngle() const { return m_sweep; }
    QRect outerRect() const { return m_outer; }
    QRect holeRect() const { return m_hole; }
    // Slice i, 1..12.
    const QPainterPath &segment(int i) const { return m_paths[std::size_t(i - 1)]; }
    // Everything of the control except the hole.
    const QRegion &clip() const { return m_clip; }

private:
    QSize m_size;
    int m_sweep;
    QRect m_outer;
    QRect m_hole;
    std::array<QPainterPath, segmentCount> m_paths;
    QRegion m_clip;
};
