#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>

class QWidget;

// Lets a window paint at most once per frame of the screen it is on. Qt paints after
// every pass of the event loop that changed something, so a display tick every
// millisecond would paint a thousand times a second where the screen shows 60 to 144
// frames. What changes meanwhile stays marked in Qt's own dirty region, and the frame
// paints all of it at once, so the window after a frame is what painting after every
// change would have left.
//
// Only repaints that come less than a frame after the last one wait, and only for the
// rest of that frame: a slower beat paints at once, as do repaints that answer the
// user's input (clicks, keys, the pointer, the wheel, a resize) since the last frame.
class FrameGate : public QObject
{
    Q_OBJECT

public:
    // Watches `window`, a top-level widget that outlives the gate.
    explicit FrameGate(QWidget &window);
    ~FrameGate() override;
    FrameGate(const FrameGate &) = delete;
    FrameGate &operator=(const FrameGate &) = delete;

    // A repaint is being held for the end of the current frame.
    bool holding() const { return m_held; }
    // The length of a frame of the window's screen; 60 frames a second where the screen
    // does not say (offscreen, or a server that reports no rate).
    std::chrono::microseconds frameInterval() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using Clock = std::chrono::steady_clock;

    bool answersInput(const QObject *watched, const QEvent &event) const;
    bool holdBack();
    void release();

    QWidget &m_window;
    QTimer m_frameEnd;
    Clock::time_point m_lastFrame;
    bool m_inputSinceFrame = false;
    bool m_held = false;
    bool m_releasing = false;
};
