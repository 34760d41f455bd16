#pragma once

#include "runtime/Color.h"

#include <cstddef>
#include <limits>
#include <vector>

// The colour of every point of a series, stored unchanged but as runs of equal colours:
// a trace appended in one colour costs one entry, not four bytes per point.
class ColorRunList
{
public:
    int size() const { return m_count; }
    TColor at(int index) const;

    // Inserts one colour at index (0 .. size()); later colours move up by one.
    void insert(int index, TColor color);
    void clear();

    std::size_t allocatedBytes() const { return m_runs.capacity() * sizeof(Run); }

    // Walks the colours from a start index in order without a search per point.
    class Cursor
    {
    public:
        Cursor(const ColorRunList &list, int index);
        TColor at(int index)
        {
            const std::vector<Run> &runs = m_list.m_runs;
            while (m_run + 1 < runs.size() && runs[m_run + 1].start <= index)
                ++m_run;
            return runs[m_run].color;
        }
        // The last index of the run that `at` last answered from.
        int runLast() const
        {
            const std::vector<Run> &runs = m_list.m_runs;
            return m_run + 1 < runs.size() ? runs[m_run + 1].start - 1 : std::numeric_limits<int>::max();
        }

    private:
        const ColorRunList &m_list;
        std::size_t m_run;
    };

private:
    struct Run
    {
        int start;
        TColor color;
    };

    std::size_t runIndexOf(int index) const;

    std::vector<Run> m_runs;
    int m_count = 0;
};
