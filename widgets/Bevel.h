#pragma once

#include <QColor>
#include <QRect>

class QPainter;

// A one-pixel three-dimensional edge around a rectangle, as classic Windows controls
// draw it: the top row and left column in the first colour, the right column and bottom
// row in the second. The second colour owns the top-right and bottom-left corners.
class Bevel
{
public:
    Bevel(QColor topLeft, QColor bottomRight) : m_topLeft(topLeft), m_bottomRight(bottomRight) {}

    // A raised edge: light above and left, dark below and right (system colours).
    static Bevel raised();
    // A sunken edge: the raised colours swapped.
    static Bevel lowered();

    // Draws `width` nested one-pixel edges from the outside of `rect` inwards.
    void draw(QPainter &painter, const QRect &rect, int width = 1) const;

private:
    QColor m_topLeft;
    QColor m_bottomRight;
};
