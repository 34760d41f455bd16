#include "serial/PosixEventWaiter.h"

#include "runtime/Exception.h"

#include <cerrno>
#include <cstring>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

constexpr std::uint32_t rxCharBit = 0x0001;  // driver event bit: bytes received
constexpr std::uint32_t errorBit = 0x0080;   // driver event bit: line-status error

[[noreturn]] void failCreate(const char *what)
{
    throw EOutOfResources(QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno))));
}

} // namespace

PosixEventWaiter::PosixEventWaiter(int device, std::uint32_t eventMask) : m_eventMask(eventMask)
{
    m_epoll = epoll_create1(EPOLL_CLOEXEC);
    if (m_epoll < 0)
        failCreate("epoll_create1");
    m_stop = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_stop < 0) {
        ::close(m_epoll);
        failCreate("eventfd");
    }
    // Edge-triggered: bytes left unread do not wake the wait again until more arrive.
    epoll_event deviceEvent{};
    deviceEvent.events = EPOLLET | ((eventMask & rxCharBit) ? EPOLLIN : 0u);
    deviceEvent.data.fd = device;
    epoll_event stopEvent{};
    stopEvent.events = EPOLLIN;
    stopEvent.data.fd = m_stop;
    if (epoll_ctl(m_epoll, EPOLL_CTL_ADD, device, &deviceEvent) != 0
        || epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_stop, &stopEvent) != 0) {
        ::close(m_stop);
        ::close(m_epoll);
        failCreate("epoll_ctl");
    }
}

PosixEventWaiter::~PosixEventWaiter()
{
    ::close(m_stop);
    ::close(m_epoll);
}

void PosixEventWaiter::signalStop()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_stop, &one, sizeof one);
}

PosixEventWaiter::Outcome PosixEventWaiter::wait(std::uint32_t &mask)
{
    epoll_event events[2];
    int ready;
    do {
        ready = epoll_wait(m_epoll, events, 2, -1);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0)
        return Outcome::Failed;

    std::uint32_t deviceEvents = 0;
    for (int i = 0; i < ready; ++i) {
        if (events[i].data.fd == m_stop)
            return Outcome::Stopped;
        deviceEvents |= events[i].events;
    }
    // A hang-up stays reported on every wait: going on would spin.
    if (deviceEvents & EPOLLHUP)
        return Outcome::Vanished;
    mask = 0;
    if (deviceEvents & EPOLLIN)
        mask |= rxCharBit;
    if (deviceEvents & EPOLLERR)
        mask |= errorBit;
    mask &= m_eventMask;
    return Outcome::Events;
}
