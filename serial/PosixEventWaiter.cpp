#include "serial/PosixEventWaiter.h"

#include "runtime/Exception.h"

#include <cerrno>
#include <cstring>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {

constexpr std::uint32_t rxCharBit = 0x0001;  // driver event bit: bytes received
constexpr std::uint32_t errorBit = 0x0080;   // driver event bit: line-status error

[[noreturn]] void failCreate(const char *what)
{
    throw EOutOfResources(QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno))));
}

bool watch(int epoll, int fd, std::uint32_t events)
{
    epoll_event event{};
    event.events = events;
    event.data.fd = fd;
    return epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &event) == 0;
}

void closeAll(std::initializer_list<int> fds)
{
    for (int fd : fds) {
        if (fd >= 0)
            ::close(fd);
    }
}

} // namespace

PosixEventWaiter::PosixEventWaiter(int device, int wake, std::uint32_t eventMask) : m_device(device), m_eventMask(eventMask)
{
    m_epoll = epoll_create1(EPOLL_CLOEXEC);
    if (m_epoll < 0)
        failCreate("epoll_create1");
    m_stop = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_stop < 0) {
        closeAll({m_epoll});
        failCreate("eventfd");
    }
    m_timer = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
    if (m_timer < 0) {
        closeAll({m_stop, m_epoll});
        failCreate("timerfd_create");
    }
    // Edge-triggered: bytes left unread do not wake the wait again until more arrive.
    const std::uint32_t deviceEvents = EPOLLET | ((eventMask & rxCharBit) ? EPOLLIN : 0u);
    if (!watch(m_epoll, device, deviceEvents) || !watch(m_epoll, m_stop, EPOLLIN)
        || (wake >= 0 && !watch(m_epoll, wake, deviceEvents))) {
        closeAll({m_timer, m_stop, m_epoll});
        failCreate("epoll_ctl");
    }
}

PosixEventWaiter::~PosixEventWaiter()
{
    closeAll({m_timer, m_stop, m_epoll});
}

void PosixEventWaiter::signalStop()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_stop, &one, sizeof one);
}

PosixEventWaiter::Outcome PosixEventWaiter::wait(std::uint32_t &mask)
{
    std::uint32_t deviceEvents = 0;
    Outcome outcome = waitOnce(deviceEvents, -1);
    // Bytes alone are gathered, and only within a stream; a line error is reported at once.
    const auto now = std::chrono::steady_clock::now();
    if (outcome == Outcome::Events && deviceEvents == EPOLLIN && now - m_lastReport < gatherTime)
        outcome = gather(deviceEvents);
    if (outcome != Outcome::Events)
        return outcome;
    if (deviceEvents & EPOLLIN)
        m_lastReport = std::chrono::steady_clock::now();
    mask = 0;
    if (deviceEvents & EPOLLIN)
        mask |= rxCharBit;
    if (deviceEvents & EPOLLERR)
        mask |= errorBit;
    mask &= m_eventMask;
    return Outcome::Events;
}

// One wait on the device and the stop, at most timeoutMs (-1: no limit); what the device
// reported is added to deviceEvents.
PosixEventWaiter::Outcome PosixEventWaiter::waitOnce(std::uint32_t &deviceEvents, int timeoutMs)
{
    epoll_event events[3];
    int ready;
    do {
        ready = epoll_wait(m_epoll, events, 3, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0)
        return Outcome::Failed;
    for (int i = 0; i < ready; ++i) {
        if (events[i].data.fd == m_stop)
            return Outcome::Stopped;
        deviceEvents |= events[i].events;
    }
    // A hang-up stays reported on every wait: going on would spin.
    if (deviceEvents & EPOLLHUP)
        return Outcome::Vanished;
    return Outcome::Events;
}

// Lets bytes gather after the first of them woke the wait, then takes the device's
// readiness for what came meanwhile without waiting: those bytes are in the count the
// delivery takes.
PosixEventWaiter::Outcome PosixEventWaiter::gather(std::uint32_t &deviceEvents)
{
    if (queuedBytes() >= fullQueue)
        return Outcome::Events;
    const Outcome outcome = waitOutGatherTime();
    if (outcome != Outcome::Events)
        return outcome;
    return waitOnce(deviceEvents, 0);
}

// Waits for the gathering time to pass or the stop, whichever comes first.
PosixEventWaiter::Outcome PosixEventWaiter::waitOutGatherTime()
{
    armTimer(gatherTime);
    pollfd waits[2] = {{m_stop, POLLIN, 0}, {m_timer, POLLIN, 0}};
    int ready;
    do {
        ready = poll(waits, 2, -1);
    } while (ready < 0 && errno == EINTR);
    // Disarming also forgets an expiry that was not read.
    armTimer(std::chrono::microseconds(0));
    if (ready < 0)
        return Outcome::Failed;
    return (waits[0].revents & POLLIN) ? Outcome::Stopped : Outcome::Events;
}

void PosixEventWaiter::armTimer(std::chrono::microseconds after)
{
    itimerspec when{};
    when.it_value.tv_sec = after.count() / 1000000;
    when.it_value.tv_nsec = (after.count() % 1000000) * 1000;
    timerfd_settime(m_timer, 0, &when, nullptr);
}

// What the line discipline holds for the reader; a failing count skips the gathering,
// and the delivery's own count reports the failure.
int PosixEventWaiter::queuedBytes() const
{
    int count = 0;
    return ioctl(m_device, FIONREAD, &count) == 0 ? count : fullQueue;
}
