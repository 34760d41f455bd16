#pragma once

#include "runtime/Color.h"

#include <QFont>
#include <QRect>
#include <QString>
#include <vector>

class QPainter;

// The box of the readout: a small table of names, values and (with a mark) their
// differences to the mark, each line in its own colour, framed on a white ground.
class ReadoutBox
{
public:
    struct Line
    {
        QString name;
        QString value;
        QString delta; // empty without a mark
        TColor color = clBlack;
        bool operator==(const Line &) const = default;
    };

    ReadoutBox() = default;
    ReadoutBox(std::vector<Line> lines, const QFont &font);

    bool operator==(const ReadoutBox &other) const { return m_lines == other.m_lines && m_font == other.m_font; }

    QSize size() const { return m_size; }
    const QFont &font() const { return m_font; }
    void paint(QPainter &painter, QPoint topLeft) const;

    // Where a box of `size` goes for the pointer at `pointer`: below and to the right of
    // it, on its left where the right edge of `area` is too near, and never outside
    // `area` (where it fits at all).
    static QRect placed(QSize size, QPoint pointer, const QRect &area);

private:
    struct Widths
    {
        int value;
        int delta;
    };

    std::vector<Line> m_lines;
    std::vector<Widths> m_widths; // of the right-aligned texts, line by line
    QFont m_font;
    int m_nameWidth = 0;
    int m_valueWidth = 0;
    int m_deltaWidth = 0;
    int m_lineHeight = 0;
    int m_ascent = 0;
    QSize m_size;
};
