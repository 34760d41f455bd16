#pragma once

#include <QFont>
#include <QHash>
#include <QString>

// Widths of texts in one font, remembered. A chart lays out the same labels on every
// pass, a thousand passes a second at the fastest display, and measuring a text means
// shaping it.
class TextWidths
{
public:
    int of(const QFont &font, const QString &text);

private:
    // Texts that come and go (last values) would otherwise pile up.
    static constexpr qsizetype capacity = 1024;

    QFont m_font;
    QHash<QString, int> m_widths;
};
