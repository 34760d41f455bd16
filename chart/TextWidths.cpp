#include "chart/TextWidths.h"

#include <QFontMetrics>

int TextWidths::of(const QFont &font, const QString &text)
{
    if (!(font == m_font) || m_widths.size() >= capacity) {
        m_widths.clear();
        m_font = font;
    }
    const auto known = m_widths.constFind(text);
    if (known != m_widths.constEnd())
        return *known;
    const int width = QFontMetrics(font).horizontalAdvance(text);
    m_widths.insert(text, width);
    return width;
}
