#include "chart/ReadoutBox.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace {

constexpr int padding = 4;    // between the frame and the text
constexpr int columnGap = 8;  // between name, value and difference
constexpr int pointerGap = 12; // keeps the pointer's arrow off the text

} // namespace

ReadoutBox::ReadoutBox(std::vector<Line> lines, const QFont &font) : m_lines(std::move(lines)), m_font(font)
{
    const QFontMetrics metrics(m_font);
    for (const Line &line : m_lines) {
        m_widths.push_back({metrics.horizontalAdvance(line.value), metrics.horizontalAdvance(line.delta)});
        m_nameWidth = std::max(m_nameWidth, metrics.horizontalAdvance(line.name));
        m_valueWidth = std::max(m_valueWidth, m_widths.back().value);
        m_deltaWidth = std::max(m_deltaWidth, m_widths.back().delta);
    }
    m_lineHeight = metrics.height();
    m_ascent = metrics.ascent();
    const int deltaColumn = m_deltaWidth > 0 ? columnGap + m_deltaWidth : 0;
    m_size = QSize(2 * padding + m_nameWidth + columnGap + m_valueWidth + deltaColumn,
                   2 * padding + m_lineHeight * int(m_lines.size()));
}

void ReadoutBox::paint(QPainter &painter, QPoint topLeft) const
{
    const QRect frame(topLeft, m_size);
    painter.save();
    painter.fillRect(frame, Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    painter.setFont(m_font);
    // Texts are placed at their baselines with widths measured once: a box is drawn
    // at every pointer move, and laying text out into rectangles costs more.
    const int nameLeft = frame.left() + padding;
    const int valueRight = nameLeft + m_nameWidth + columnGap + m_valueWidth;
    const int deltaRight = valueRight + columnGap + m_deltaWidth;
    int baseline = frame.top() + padding + m_ascent;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const Line &line = m_lines[i];
        painter.setPen(toQColor(line.color));
        painter.drawText(nameLeft, baseline, line.name);
        painter.drawText(valueRight - m_widths[i].value, baseline, line.value);
        painter.drawText(deltaRight - m_widths[i].delta, baseline, line.delta);
        baseline += m_lineHeight;
    }
    painter.restore();
}

QRect ReadoutBox::placed(QSize size, QPoint pointer, const QRect &area)
{
    QRect box(pointer + QPoint(pointerGap, pointerGap), size);
    if (box.right() > area.right())
        box.moveRight(pointer.x() - pointerGap);
    if (box.bottom() > area.bottom())
        box.moveBottom(area.bottom());
    box.moveLeft(std::max(box.left(), area.left()));
    box.moveTop(std::max(box.top(), area.top()));
    return box;
}
