#include "chart/ColorRunList.h"

#include <algorithm>

std::size_t ColorRunList::runIndexOf(int index) const
{
    const auto after = std::upper_bound(m_runs.begin(), m_runs.end(), index,
                                        [](int i, const Run &run) { return i < run.start; });
    return std::size_t(after - m_runs.begin()) - 1;
}

TColor ColorRunList::at(int index) const
{
    return m_runs[runIndexOf(index)].color;
}

void ColorRunList::insert(int index, TColor color)
{
    if (m_runs.empty()) {
        m_runs.push_back({0, color});
        m_count = 1;
        return;
    }
    const std::size_t owner = runIndexOf(std::min(index, m_count - 1));
    for (std::size_t r = owner + 1; r < m_runs.size(); ++r)
        ++m_runs[r].start;
    ++m_count;
    const Run run = m_runs[owner];
    if (run.color == color)
        return; // the run that holds the place grows by one
    if (index == m_count - 1) {
        m_runs.push_back({index, color});
    } else if (run.start == index) {
        // The owner moves up one place; the new colour joins the run before it if equal.
        ++m_runs[owner].start;
        if (owner == 0 || m_runs[owner - 1].color != color)
            m_runs.insert(m_runs.begin() + std::ptrdiff_t(owner), Run{index, color});
    } else {
        const Run split[] = {{index, color}, {index + 1, run.color}};
        m_runs.insert(m_runs.begin() + std::ptrdiff_t(owner) + 1, std::begin(split), std::end(split));
    }
}

void ColorRunList::clear()
{
    std::vector<Run>().swap(m_runs);
    m_count = 0;
}

ColorRunList::Cursor::Cursor(const ColorRunList &list, int index)
    : m_list(list), m_run(list.m_runs.empty() ? 0 : list.runIndexOf(index))
{
}
