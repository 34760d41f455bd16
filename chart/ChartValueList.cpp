#include "chart/ChartValueList.h"

#include <cmath>

TChartValueList::TChartValueList(QString name, TChartListOrder order) : m_name(std::move(name)), m_order(order)
{
}

void TChartValueList::setMultiplier(double multiplier)
{
    m_multiplier = multiplier;
    m_dirty = true;
}

bool TChartValueList::goesAfter(double stored, double value) const
{
    return m_order == loAscending ? stored <= value : stored >= value;
}

int TChartValueList::insertPosition(double value) const
{
    int position = m_values.size();
    if (m_order == loNone)
        return position;
    while (position > 0 && !goesAfter(m_values[position - 1], value))
        --position;
    return position;
}

void TChartValueList::insertAt(int index, double value)
{
    if (index == m_values.size())
        m_values.push_back(value);
    else
        m_values.insert(index, value);
    m_dirty = true;
}

void TChartValueList::Clear()
{
    m_values.clear();
    m_dirty = true;
}

const TChartValueList::Statistics &TChartValueList::statistics() const
{
    if (!m_dirty)
        return m_statistics;
    Statistics s;
    if (Count() > 0) {
        s.minimum = s.maximum = s.total = Value(0);
        s.totalAbs = std::fabs(s.minimum);
        for (int i = 1; i < Count(); ++i) {
            const double v = Value(i);
            if (v < s.minimum)
                s.minimum = v;
            else if (v > s.maximum)
                s.maximum = v;
            s.total += v;
            s.totalAbs += std::fabs(v);
        }
    }
    m_statistics = s;
    m_dirty = false;
    return m_statistics;
}

double TChartValueList::MinValue() const { return statistics().minimum; }
double TChartValueList::MaxValue() const { return statistics().maximum; }
double TChartValueList::Total() const { return statistics().total; }
double TChartValueList::TotalABS() const { return statistics().totalAbs; }
