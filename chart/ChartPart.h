#pragma once

class TChart;

// Base of everything a chart owns and draws (axes, legend, titles, pens, series):
// each setting is compared, stored, and a real change asks the chart to repaint. A part
// inside another part (a series' pen) asks through its owner, which may veto it.
class ChartPart
{
public:
    explicit ChartPart(TChart *chart) : m_chart(chart) {}
    explicit ChartPart(ChartPart &owner) : m_owner(&owner) {}
    virtual ~ChartPart() = default;
    ChartPart(const ChartPart &) = delete;
    ChartPart &operator=(const ChartPart &) = delete;

    TChart *ParentChart() const { return m_owner ? m_owner->ParentChart() : m_chart; }

protected:
    void setParentChart(TChart *chart) { m_chart = chart; }

    template <typename T, typename V>
    void change(T &field, const V &value)
    {
        if (field == value)
            return;
        field = value;
        repaint();
    }

    // Asks the chart to invalidate itself; nothing without a chart.
    virtual void repaint();

private:
    TChart *m_chart = nullptr;
    ChartPart *m_owner = nullptr;
};
