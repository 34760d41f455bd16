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

int TChartValueList::firstAtOrAfter(double value, int from) const
{
    if (m_order != loAscending) {
        while (from < Count() && !(Value(from) >= value))
            ++from;
        return from;
    }
    int low = from;
    int high = Count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (Value(middle) >= value)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

void TChartValueList::insertAt(int index, double value)
{
    if (index < m_values.size()) {
        m_values.insert(index, value);
        m_dirty = true;
        return;
    }
    m_values.push_back(value);
    // Taking in one more value at the end gives what a pass over the whole list would,
    // in the same order of additions; a display tick need not walk a whole sweep.
    if (!m_dirty)
        include(m_statistics, Value(index), index == 0);
}

void TChartValueList::include(Statistics &s, double v, bool first)
{
    if (first) {
        s.minimum = s.maximum = s.total = v;
        s.totalAbs = std::fabs(v);
        return;
    }
    if (v < s.minimum)
        s.minimum = v;
    else if (v > s.maximum)
        s.maximum = v;
    s.total += v;
    s.totalAbs += std::fabs(v);
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
    for (int i = 0; i < Count(); ++i)
        include(s, Value(i), i == 0);
    m_statistics = s;
    m_dirty = false;
    return m_statistics;
}

double TChartValueList::MinValue() const { return statistics().minimum; }
double TChartValueList::MaxValue() const { return statistics().maximum; }
double TChartValueList::Total() const { return statistics().total; }
double TChartValueList::TotalABS() const { return statistics().totalAbs; }
