#include "widgets/ProgressAppearance.h"

void TProgressAppearance::assign(const TProgressAppearance &other)
{
    m_borderColor = other.m_borderColor;
    m_backGroundColor = other.m_backGroundColor;
    m_activeSegmentColor = other.m_activeSegmentColor;
    m_transitionSegmentColor = other.m_transitionSegmentColor;
    m_inActiveSegmentColor = other.m_inActiveSegmentColor;
    m_progressSegmentColor = other.m_progressSegmentColor;
}

void TProgressAppearance::change(TColor &field, TColor value)
{
    if (field == value)
        return;
    field = value;
    emit changed();
}
