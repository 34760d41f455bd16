#pragma once

#include "chart/ZoomRules.h"

#include <QPoint>
#include <Qt>
#include <array>

class QPainter;
class TChart;
class TChartAxis;

enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };

// Mouse zoom and panning of a chart: a left drag to the lower right zooms into the
// dragged rectangle (animated), a left drag in any other direction puts back the scales
// held before the first zoom or pan, a right drag moves the scales with the pointer, and
// the wheel shifts the vertical scales. Only axis ranges change, never series data.
class TChartZoom
{
public:
    explicit TChartZoom(TChart &chart);

    bool AllowZoom() const { return m_allowZoom; }
    void setAllowZoom(bool on) { m_allowZoom = on; }
    bool AnimatedZoom() const { return m_animatedZoom; }
    void setAnimatedZoom(bool on) { m_animatedZoom = on; }
    // How many repaints a zoom takes: steps - 1 on the way, then the exact range.
    int AnimatedZoomSteps() const { return m_animatedZoomSteps; }
    void setAnimatedZoomSteps(int steps) { m_animatedZoomSteps = steps; }
    TPanningMode AllowPanning() const { return m_allowPanning; }
    void setAllowPanning(TPanningMode mode) { m_allowPanning = mode; }

    // What a press lands on, tested in this order; only a series, an axis or the
    // plotting area (the background) can start a drag.
    enum class Target { Series, Axis, Title, Foot, Background, Legend, Nothing };
    Target pressTarget(QPoint point) const;

    // Mouse input in chart pixels. The wheel's angle is in eighths of a degree, positive
    // away from the user; 120 make one notch.
    void press(Qt::MouseButton button, QPoint point);
    void move(QPoint point);
    void release(Qt::MouseButton button, QPoint point);
    void wheel(int angleDelta);

    bool zooming() const { return m_zoomDrag.active; }
    bool panning() const { return m_panDrag.active; }
    // Set by a zoom, cleared by an undo.
    bool Zoomed() const { return m_zoomed; }
    // True while no copy of the scales waits for an undo.
    bool scalesRestored() const { return m_scalesRestored; }

    // The rectangle of a zoom drag over what the painter holds, in not-XOR mode, so it
    // shows on any background.
    void drawRectangle(QPainter &painter) const;

private:
    struct DragRecord
    {
        bool active = false;
        QPoint start;
        QPoint current;
    };

    struct SavedScale
    {
        bool automatic = true;
        bool automaticMinimum = true;
        bool automaticMaximum = true;
        double minimum = 0;
        double maximum = 0;
    };

    // The side axes in the order a zoom moves them.
    std::array<TChartAxis *, 4> sideAxes() const;
    void saveScalesOnce();
    void zoom(QPoint a, QPoint b);
    void undoZoom();
    void pan(QPoint point);
    void repaintNow();

    TChart &m_chart;
    bool m_allowZoom = true;
    bool m_animatedZoom = false;
    int m_animatedZoomSteps = 8;
    TPanningMode m_allowPanning = pmBoth;

    DragRecord m_zoomDrag;
    DragRecord m_panDrag;
    std::array<SavedScale, 4> m_saved{};
    bool m_scalesRestored = true;
    bool m_zoomed = false;
    int m_wheelAngle = 0; // what is left below one notch
};
