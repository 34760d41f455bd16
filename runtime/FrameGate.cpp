#include "runtime/FrameGate.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

constexpr double fallbackRate = 60.0;

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Resize:
        return true;
    default:
        return false;
    }
}

} // namespace

FrameGate::FrameGate(QWidget &window) : m_window(window)
{
    m_frameEnd.setSingleShot(true);
    m_frameEnd.setTimerType(Qt::PreciseTimer);
    connect(&m_frameEnd, &QTimer::timeout, this, &FrameGate::release);
    // Input reaches the widget under the pointer or with the focus, not the window: the
    // application's filter sees it on the way there.
    QCoreApplication::instance()->installEventFilter(this);
}

FrameGate::~FrameGate()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

std::chrono::microseconds FrameGate::frameInterval() const
{
    const QScreen *screen = m_window.screen();
    double rate = screen ? screen->refreshRate() : 0.0;
    if (rate < 1.0 || QGuiApplication::platformName() == QLatin1String("offscreen"))
        rate = fallbackRate;
    return std::chrono::microseconds(std::llround(1e6 / rate));
}

bool FrameGate::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_window && event->type() == QEvent::UpdateRequest) {
        if (holdBack())
            return true;
        m_lastFrame = Clock::now();
        m_inputSinceFrame = false;
        m_held = false;
        m_frameEnd.stop();
    } else if (answersInput(watched, *event)) {
        m_inputSinceFrame = true;
        // Qt sends no new request while one it posted is unanswered: ask again, to be
        // answered right after this input.
        if (m_held) {
            m_held = false;
            m_frameEnd.stop();
            QCoreApplication::postEvent(&m_window, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
        }
    }
    return false;
}

bool FrameGate::answersInput(const QObject *watched, const QEvent &event) const
{
    if (!isInput(event.type()) || !watched->isWidgetType())
        return false;
    return static_cast<const QWidget *>(watched)->window() == &m_window;
}

bool FrameGate::holdBack()
{
    if (m_releasing || m_inputSinceFrame)
        return false;
    const auto sinceFrame = Clock::now() - m_lastFrame;
    const std::chrono::microseconds interval = frameInterval();
    if (sinceFrame >= interval)
        return false;
    if (!m_held) {
        m_held = true;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(interval - sinceFrame);
        m_frameEnd.start(int(left.count()));
    }
    return true;
}

// The frame is over: paint what gathered since the last one.
void FrameGate::release()
{
    if (!m_held)
        return;
    QEvent request(QEvent::UpdateRequest);
    m_releasing = true;
    QCoreApplication::sendEvent(&m_window, &request);
    m_releasing = false;
}
