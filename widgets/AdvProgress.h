#pragma once

#include "runtime/Color.h"

#include <QWidget>
#include <cstdint>

enum TProgressBarOrientation { pbHorizontal, pbVertical };

// A level bar: a progress bar whose filled part and background take colours of the
// caller's choosing. The position is kept inside Min..Max; the filled length is the
// share (Position - Min) / (Max - Min) of the inner length, from the left or, when
// vertical, from the bottom.
class TAdvProgress : public QWidget
{
    Q_OBJECT

public:
    explicit TAdvProgress(QWidget *parent = nullptr);

    std::int32_t Min() const { return m_min; }
    std::int32_t Max() const { return m_max; }
    std::int32_t Position() const { return m_position; }
    std::int32_t Step() const { return m_step; }
    TProgressBarOrientation Orientation() const { return m_orientation; }
    bool Smooth() const { return m_smooth; }
    TColor BarColor() const { return m_barColor; }
    TColor BkColor() const { return m_bkColor; }
    static QString Version() { return QStringLiteral("1.2.0.0"); }

    // Both limits at once. Raises ERangeError "TAdvProgress property out of range" when
    // max < min, changing nothing. A lower minimum also moves the position to it.
    void setRange(std::int32_t min, std::int32_t max);
    void setMin(std::int32_t min) { setRange(min, m_max); }
    void setMax(std::int32_t max) { setRange(m_min, max); }
    void setPosition(std::int32_t position);
    void setStep(std::int32_t step) { m_step = step; }
    void setOrientation(TProgressBarOrientation orientation);
    void setSmooth(bool smooth);
    // The colour is resolved to plain red-green-blue now: a system colour keeps the
    // value it had at this moment.
    void setBarColor(TColor color);
    void setBkColor(TColor color);

    // Pixels of `length` that the filled part covers, rounded to the nearest pixel.
    static int filledLength(int length, std::int32_t min, std::int32_t max, std::int32_t position);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::int32_t clamped(std::int32_t position) const;
    int filledPixels(std::int32_t position) const;
    QRect innerRect() const;
    QRect stripBetween(int fromFilled, int toFilled) const;
    void paintBlocks(QPainter &painter, const QRect &inner, int filled) const;

    std::int32_t m_min = 0;
    std::int32_t m_max = 100;
    std::int32_t m_position = 0;
    std::int32_t m_step = 10;
    TProgressBarOrientation m_orientation = pbHorizontal;
    bool m_smooth = false;
    TColor m_barColor = clHighlight;
    TColor m_bkColor = clWindow;
    QColor m_barRgb;
    QColor m_bkRgb;
};
