#pragma once

#include "chart/ChunkedVector.h"

#include <QString>

enum TChartListOrder { loNone, loAscending, loDescending };

// One coordinate of every point of a series. Values are stored as given and read times
// the multiplier; the statistics are recomputed lazily, once per change.
class TChartValueList
{
public:
    TChartValueList(QString name, TChartListOrder order);

    const QString &Name() const { return m_name; }
    double Multiplier() const { return m_multiplier; }
    void setMultiplier(double multiplier);
    TChartListOrder Order() const { return m_order; }
    void setOrder(TChartListOrder order) { m_order = order; }
    bool DateTime() const { return m_dateTime; }
    void setDateTime(bool dateTime) { m_dateTime = dateTime; }

    int Count() const { return m_values.size(); }
    double Value(int index) const { return m_values[index] * m_multiplier; }
    double Last() const { return Value(Count() - 1); }

    // Where a new stored value goes under the list's order: at the end when the order
    // allows it (one comparison), else after the last value from the end that does not
    // sort after it, or at 0.
    int insertPosition(double value) const;
    void insertAt(int index, double value);
    // The first index from `from` on whose value is at least `value` (Count() when
    // none): a binary search in an ascending list, a scan in any other.
    int firstAtOrAfter(double value, int from) const;
    void Clear();

    double MinValue() const;
    double MaxValue() const;
    double Total() const;
    double TotalABS() const;

    std::size_t allocatedBytes() const { return m_values.allocatedBytes(); }

private:
    struct Statistics
    {
        double minimum = 0;
        double maximum = 0;
        double total = 0;
        double totalAbs = 0;
    };

    const Statistics &statistics() const;
    static void include(Statistics &s, double v, bool first);
    bool goesAfter(double stored, double value) const;

    QString m_name;
    double m_multiplier = 1.0;
    TChartListOrder m_order;
    bool m_dateTime = false;
    ChunkedVector<double> m_values;
    mutable Statistics m_statistics;
    mutable bool m_dirty = true;
};
