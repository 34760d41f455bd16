#pragma once

#include <QFont>

// Fonts of the chart are sized in points at 96 dots per inch and carried as pixel sizes,
// so the screen and an exported picture measure and draw text alike.
inline QFont chartFont(const QString &family, int points)
{
    QFont font(family);
    font.setPixelSize((points * 96 + 36) / 72);
    return font;
}

// A font given by its character height in pixels (a negative height in the forms).
inline QFont chartFontOfHeight(const QString &family, int pixels)
{
    QFont font(family);
    font.setPixelSize(pixels);
    return font;
}
