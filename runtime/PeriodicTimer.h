#pragma once

#include <QObject>
#include <cstdint>

class QSocketNotifier;

// A periodic timer of the GUI thread that keeps its beat. The kernel counts the periods
// (a timerfd), so a tick that runs late does not move the ones after it. Qt's own timers
// round each wait up to a whole millisecond and start a new beat once a tick is a period
// late: at a 1 ms period, with nothing else waking the thread, up to one tick in ten was
// lost.
//
// Periods missed while the thread was busy are made up at once, up to a tenth of a
// second's worth (at least one tick): a short stall leaves the sweep true to the clock,
// a long one (a stopped process, a blocked display) is not replayed as a burst.
class PeriodicTimer : public QObject
{
    Q_OBJECT
public:
    explicit PeriodicTimer(QObject *parent = nullptr);
    ~PeriodicTimer() override;
    PeriodicTimer(const PeriodicTimer &) = delete;
    PeriodicTimer &operator=(const PeriodicTimer &) = delete;

    // The first tick comes one period later. Raises EOutOfResources when the platform has
    // no timer left; a running timer is left as it is.
    void start();
    void stop();
    bool isActive() const { return m_active; }

    int interval() const { return m_interval; }
    // A running timer starts its period again. Periods below 1 ms run at 1 ms.
    void setInterval(int milliseconds);
    // Milliseconds to the next tick, rounded up; -1 when stopped.
    int remainingTime() const;

signals:
    void timeout();

private:
    void arm();
    void expired();
    std::uint64_t catchUpLimit() const;

    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
    int m_interval = 0;
    bool m_active = false;
    std::uint64_t m_owed = 0;
};
