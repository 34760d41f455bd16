#include "chart/PointLabelList.h"

#include <algorithm>

namespace {

auto byIndex = [](const std::pair<int, QString> &entry, int index) { return entry.first < index; };

} // namespace

QString PointLabelList::at(int index) const
{
    const auto it = std::lower_bound(m_labels.begin(), m_labels.end(), index, byIndex);
    return (it != m_labels.end() && it->first == index) ? it->second : QString();
}

void PointLabelList::insert(int index, const QString &label)
{
    const auto it = std::lower_bound(m_labels.begin(), m_labels.end(), index, byIndex);
    for (auto later = it; later != m_labels.end(); ++later)
        ++later->first;
    if (!label.isEmpty())
        m_labels.insert(it, {index, label});
}

void PointLabelList::clear()
{
    std::vector<std::pair<int, QString>>().swap(m_labels);
}
