#pragma once

#include <QToolButton>

class QTimer;

// One arrow of a spin field: a push button that never takes the keyboard focus and
// repeats its click while held, first 400 ms after the press, then every 100 ms. Moving
// the pointer off the button pauses the clicks without stopping the beat, so coming back
// resumes them at the next 100 ms tick (QAbstractButton's own auto-repeat would wait the
// whole first delay again). A release over the button gives one more click, elsewhere none.
// The hold ends for good, with the button raised, when the mouse is no longer ours: a
// modal window or a popup opens, another widget grabs the mouse, the window is
// deactivated, or the button is disabled or hidden.
class TTimerSpeedButton : public QToolButton
{
    Q_OBJECT

public:
    static constexpr int repeatDelay = 400;    // ms from the press to the first repeat
    static constexpr int repeatInterval = 100; // ms between repeats

    explicit TTimerSpeedButton(QWidget *parent = nullptr);

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    bool holding() const;
    bool holdsMouse() const;
    void repeatClick();
    void endHold();

    QTimer *m_repeatTimer = nullptr; // made on the first press, runs while held
    int m_beatsToFirstRepeat = 0;
};
