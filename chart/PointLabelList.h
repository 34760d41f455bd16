#pragma once

#include <QString>
#include <utility>
#include <vector>

// The text labels of a series' points, kept only for the points that have one: most
// series carry no labels at all and then this list costs nothing per point.
class PointLabelList
{
public:
    QString at(int index) const;

    // Inserts the label of a new point at index; labels of later points move up by one.
    // An empty label is stored as no label.
    void insert(int index, const QString &label);
    void clear();

private:
    std::vector<std::pair<int, QString>> m_labels; // sorted by point index
};
