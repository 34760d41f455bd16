#include "chart/ChartPart.h"

#include "chart/Chart.h"

void ChartPart::repaint()
{
    if (m_owner)
        m_owner->repaint();
    else if (m_chart)
        m_chart->Invalidate();
}
