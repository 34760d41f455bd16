#pragma once

#include "runtime/Color.h"

#include <QObject>

// The six colours of the busy indicator. Changing one to a new value emits changed();
// clNone means "paint nothing in this colour".
class TProgressAppearance : public QObject
{
    Q_OBJECT

public:
    explicit TProgressAppearance(QObject *parent = nullptr) : QObject(parent) {}

    TColor BorderColor() const { return m_borderColor; }
    TColor BackGroundColor() const { return m_backGroundColor; }
    TColor ActiveSegmentColor() const { return m_activeSegmentColor; }
    TColor TransitionSegmentColor() const { return m_transitionSegmentColor; }
    TColor InActiveSegmentColor() const { return m_inActiveSegmentColor; }
    TColor ProgressSegmentColor() const { return m_progressSegmentColor; }

    void setBorderColor(TColor color) { change(m_borderColor, color); }
    void setBackGroundColor(TColor color) { change(m_backGroundColor, color); }
    void setActiveSegmentColor(TColor color) { change(m_activeSegmentColor, color); }
    void setTransitionSegmentColor(TColor color) { change(m_transitionSegmentColor, color); }
    void setInActiveSegmentColor(TColor color) { change(m_inActiveSegmentColor, color); }
    void setProgressSegmentColor(TColor color) { change(m_progressSegmentColor, color); }

    // Copies the six colours without emitting changed().
    void assign(const TProgressAppearance &other);

signals:
    void changed();

private:
    void change(TColor &field, TColor value);

    TColor m_borderColor = clNone;
    TColor m_backGroundColor = clNone;
    TColor m_activeSegmentColor = 0xFF9F9F;
    TColor m_transitionSegmentColor = 0xA00000;
    TColor m_inActiveSegmentColor = clSilver;
    TColor m_progressSegmentColor = 0x400080;
};
