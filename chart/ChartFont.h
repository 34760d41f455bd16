#pragma once

#include <QFont>

// A font given by its character height in pixels (a negative height in the forms).
// Text is drawn without smoothing, like every other line of the chart, so that pictures
// come out the same pixel for pixel.
inline QFont chartFontOfHeight(const QString &family, int pixels)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// Fonts of the chart are sized in points at 96 dots per inch and carried as pixel sizes,
// so the screen and an exported picture measure and draw text alike.
inline QFont chartFont(const QString &family, int points)
{
    return chartFontOfHeight(family, (points * 96 + 36) / 72);
}
