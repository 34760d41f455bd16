#pragma once

#include <QImage>
#include <QWidget>

// What a widget paints, on a canvas first filled with `canvas` so that pixels the
// widget leaves alone can be told apart.
inline QImage renderWidget(QWidget &widget, QColor canvas = QColor(1, 2, 3))
{
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(canvas);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

inline QColor pixelAt(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y);
}
