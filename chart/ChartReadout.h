#pragma once

#include "chart/ReadoutBox.h"
#include "runtime/Color.h"

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>
#include <vector>

class QPainter;
class TChart;

// The values under the pointer. While the pointer is over the plotting rectangle and no
// drag is going on, a line follows it and a box beside it lists the X there and each
// visible trace's value at that X: the trace's point nearest to the pointer's column,
// none without one a few pixels near. A still left click pins a mark at its X, and the
// box adds the differences to the values there; Escape, a still click outside the
// plotting rectangle or clearing a series removes it.
//
// It watches the chart's input as an event filter and is drawn over the window after
// the off-screen image, so neither the image nor any picture ever holds it, and a
// pointer move repaints only what it covered and covers from that image.
class TChartReadout : public QObject
{
    Q_OBJECT

public:
    explicit TChartReadout(TChart &chart);

    struct TraceValue
    {
        QString name;
        TColor color = clBlack;     // of the trace where the point is
        std::optional<double> value; // none without a point near the column
        std::optional<double> delta; // to the value at the mark, when both exist
        bool operator==(const TraceValue &) const = default;
    };

    struct Values
    {
        double x = 0;
        std::optional<double> deltaX; // to the mark
        std::vector<TraceValue> traces; // the drawn series in the chart's order
        bool operator==(const Values &) const = default;
    };

    bool shown() const;
    // What the box lists, with the layout of the chart's last drawing.
    Values values() const;
    bool markPinned() const { return m_mark.has_value(); }
    // Where the box was last drawn or asked to be (empty while hidden).
    QRect boxRect() const { return m_overlay.box; }

    void removeMark();

    // Paints the overlay over what the painter holds; the chart calls it at the end of
    // every repaint, when the data may have changed under a still pointer.
    void draw(QPainter &painter);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // What is drawn over the window, and where.
    struct Overlay
    {
        QRect line; // the pointer's column, empty while hidden
        QRect mark; // the mark's column, empty without a mark in view
        QRect box;
        Values values; // what the box lists
        ReadoutBox content;
    };

    void handle(QEvent &event);
    void moved(QPoint point);
    void pressed(QPoint point);
    void released(Qt::MouseButton button, Qt::MouseButtons stillHeld, QPoint point);
    void stillClick(QPoint point);
    // Works out the overlay for the present state and asks the window to repaint what
    // changed: the old rectangles and the new ones.
    void refresh();
    Overlay overlayNow() const;
    QRect plotArea() const;
    int markColumn() const;
    std::vector<ReadoutBox::Line> boxLines(const Values &values) const;

    TChart &m_chart;
    QPoint m_pointer;
    bool m_over = false;     // the pointer is over the chart
    bool m_pressed = false;  // a button went down on the chart and is held
    bool m_dragging = false; // ... and the pointer went further than a still click
    QPoint m_press;
    std::optional<double> m_mark; // X of the mark, on the bottom axis
    Overlay m_overlay;
};
