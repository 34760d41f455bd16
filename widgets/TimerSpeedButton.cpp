#include "widgets/TimerSpeedButton.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>

TTimerSpeedButton::TTimerSpeedButton(QWidget *parent) : QToolButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAutoRepeat(false);
}

bool TTimerSpeedButton::event(QEvent *event)
{
    // Reaches every child of a window that loses the activation, also when a modal
    // window opens over it.
    if (event->type() == QEvent::WindowDeactivate)
        endHold();
    return QToolButton::event(event);
}

void TTimerSpeedButton::mousePressEvent(QMouseEvent *event)
{
    QToolButton::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || !isDown())
        return;
    if (!m_repeatTimer) {
        m_repeatTimer = new QTimer(this);
        // A coarse timer may be moved by up to 5 % to fire together with others.
        m_repeatTimer->setTimerType(Qt::PreciseTimer);
        connect(m_repeatTimer, &QTimer::timeout, this, &TTimerSpeedButton::repeatClick);
    }
    // One beat from the press, never restarted: a late firing does not shift the ones
    // after it, and the first repeat falls on the beat at repeatDelay.
    m_beatsToFirstRepeat = repeatDelay / repeatInterval;
    m_repeatTimer->start(repeatInterval);
}

void TTimerSpeedButton::mouseMoveEvent(QMouseEvent *event)
{
    // Once a hold has ended without a release, the button must not come down again
    // under the mouse button that is still pressed, nor click when it is let go.
    if (holding())
        QToolButton::mouseMoveEvent(event);
}

void TTimerSpeedButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_repeatTimer)
        m_repeatTimer->stop();
    QToolButton::mouseReleaseEvent(event);
}

void TTimerSpeedButton::changeEvent(QEvent *event)
{
    QToolButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        endHold();
}

void TTimerSpeedButton::hideEvent(QHideEvent *event)
{
    endHold();
    QToolButton::hideEvent(event);
}

bool TTimerSpeedButton::holding() const
{
    return m_repeatTimer && m_repeatTimer->isActive();
}

bool TTimerSpeedButton::holdsMouse() const
{
    // Another widget's grab or popup takes the mouse events; a modal window blocks ours,
    // so the release would never come.
    const QWidget *grabber = QWidget::mouseGrabber();
    const auto above = [this](const QWidget *top) { return top && top != window(); };
    return (!grabber || grabber == this) && !above(QApplication::activePopupWidget())
           && !above(QApplication::activeModalWidget());
}

void TTimerSpeedButton::repeatClick()
{
    if (!holdsMouse()) {
        endHold();
        return;
    }
    if (m_beatsToFirstRepeat > 0 && --m_beatsToFirstRepeat > 0)
        return;
    // Drawn down only while the button is held with the pointer over it.
    if (isDown())
        emit clicked(false);
}

void TTimerSpeedButton::endHold()
{
    if (!holding())
        return;
    m_repeatTimer->stop();
    setDown(false);
}
