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
        m_nameWidth = std::max(m_nameWidth, metrics.horizontalAdvance(line.name));
        m_valueWidth = std::max(m_valueWidth, metrics.horizontalAdvance(line.value));
        m_deltaWidth = std::max(m_deltaWidth, metrics.horizontalAdvance(line.delta));
    }
    m_lineHeight = metrics.height();
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
    const int nameLeft = frame.left() + padding;
    const int valueLeft = nameLeft + m_nameWidth + columnGap;
    const int deltaLeft = valueLeft + m_valueWidth + columnGap;
    int top = frame.top() + padding;
    for (const Line &line : m_lines) {
        painter.setPen(toQColor(line.color));
        const auto cell = [&](int left, int width, const QString &text, Qt::Alignment alignment) {
            painter.drawText(QRect(left, top, width, m_lineHeight), int(alignment | Qt::AlignVCenter), text);
        };
        cell(nameLeft, m_nameWidth, line.name, Qt::AlignLeft);
        cell(valueLeft, m_valueWidth, line.value, Qt::AlignRight);
        cell(deltaLeft, m_deltaWidth, line.delta, Qt::AlignRight);
        top += m_lineHeight;
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
