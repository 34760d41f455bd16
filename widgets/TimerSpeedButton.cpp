#include "widgets/TimerSpeedButton.h"

#include <QMouseEvent>
#include <QTimer>

TTimerSpeedButton::TTimerSpeedButton(QWidget *parent) : QToolButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAutoRepeat(false);
    // Also sent when the button is disabled while held; no release reaches it then.
    connect(this, &QAbstractButton::released, this, &TTimerSpeedButton::stopRepeating);
}

void TTimerSpeedButton::mousePressEvent(QMouseEvent *event)
{
    QToolButton::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || !isDown())
        return;
    if (!m_repeatTimer) {
        m_repeatTimer = new QTimer(this);
        connect(m_repeatTimer, &QTimer::timeout, this, &TTimerSpeedButton::repeatClick);
    }
    m_repeatTimer->start(repeatDelay);
}

void TTimerSpeedButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        stopRepeating();
    QToolButton::mouseReleaseEvent(event);
}

void TTimerSpeedButton::hideEvent(QHideEvent *event)
{
    stopRepeating();
    QToolButton::hideEvent(event);
}

void TTimerSpeedButton::repeatClick()
{
    m_repeatTimer->setInterval(repeatInterval);
    // Drawn down only while the button is held with the pointer over it.
    if (isDown())
        emit clicked(false);
}

void TTimerSpeedButton::stopRepeating()
{
    if (m_repeatTimer)
        m_repeatTimer->stop();
}
