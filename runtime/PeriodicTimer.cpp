#include "runtime/PeriodicTimer.h"

#include "runtime/Exception.h"
#include "runtime/Translation.h"

#include <QSocketNotifier>
#include <algorithm>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {

constexpr std::int64_t catchUpWindowMs = 100;

timespec fromMilliseconds(int milliseconds)
{
    return {milliseconds / 1000, long(milliseconds % 1000) * 1000000L};
}

} // namespace

PeriodicTimer::PeriodicTimer(QObject *parent) : QObject(parent) {}

PeriodicTimer::~PeriodicTimer()
{
    delete m_notifier;
    if (m_fd >= 0)
        ::close(m_fd);
}

void PeriodicTimer::start()
{
    if (m_active)
        return;
    // The descriptor is made on the first start and kept: only enabling can run out.
    if (m_fd < 0) {
        const int fd = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
        if (fd < 0)
            throw EOutOfResources(Translation::frameworkText("Not enough timers available"));
        m_fd = fd;
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read);
        connect(m_notifier, &QSocketNotifier::activated, this, &PeriodicTimer::expired);
    }
    m_active = true;
    arm();
}

void PeriodicTimer::stop()
{
    if (!m_active)
        return;
    m_active = false;
    arm();
}

void PeriodicTimer::setInterval(int milliseconds)
{
    m_interval = milliseconds;
    if (m_active)
        arm();
}

int PeriodicTimer::remainingTime() const
{
    itimerspec left{};
    if (!m_active || timerfd_gettime(m_fd, &left) != 0)
        return -1;
    const std::int64_t ns = std::int64_t(left.it_value.tv_sec) * 1000000000 + left.it_value.tv_nsec;
    return int((ns + 999999) / 1000000);
}

void PeriodicTimer::arm()
{
    // Setting the time also clears the periods counted so far; ticks still owed go with them.
    m_owed = 0;
    itimerspec setting{}; // all zero: stopped
    if (m_active) {
        setting.it_interval = fromMilliseconds(std::max(m_interval, 1));
        setting.it_value = setting.it_interval;
    }
    // Cannot fail: the descriptor is ours and the times are in range.
    timerfd_settime(m_fd, 0, &setting, nullptr);
}

void PeriodicTimer::expired()
{
    std::uint64_t periods = 0;
    if (::read(m_fd, &periods, sizeof periods) != ssize_t(sizeof periods))
        return; // read already, by a tick's nested event loop, or the timer was set again
    m_owed = std::min(m_owed + periods, catchUpLimit());
    // A tick may open a box whose event loop runs further ticks from the same count, or
    // stop or set the timer, which clears the count: no tick runs twice, none after a stop.
    while (m_owed > 0) {
        --m_owed;
        emit timeout();
    }
}

std::uint64_t PeriodicTimer::catchUpLimit() const
{
    return std::uint64_t(std::max<std::int64_t>(1, catchUpWindowMs / std::max(m_interval, 1)));
}
