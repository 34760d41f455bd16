// The socket calls of network ports: kept here so that the rest of the engine sees only
// a descriptor and bytes.
#include "serial/TcpConnection.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

int millisecondsLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return int(std::max<std::int64_t>(left.count(), 0));
}

// Waits for events on fd until the deadline; the revents, or 0 when time ran out.
short waitFor(int fd, short events, Clock::time_point deadline)
{
    pollfd wait = {fd, events, 0};
    for (;;) {
        const int ready = poll(&wait, 1, millisecondsLeft(deadline));
        if (ready > 0)
            return wait.revents;
        if (ready == 0 || errno != EINTR)
            return 0;
    }
}

} // namespace

TcpConnection::~TcpConnection()
{
    close();
}

int TcpConnection::connect(const std::string &host, const std::string &service)
{
    close();
    const Clock::time_point deadline = Clock::now() + connectLimit;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_ADDRCONFIG | AI_NUMERICSERV;
    addrinfo *found = nullptr;
    m_resolveProblem.clear();
    if (const int failure = getaddrinfo(host.c_str(), service.c_str(), &hints, &found); failure != 0) {
        m_resolveProblem = gai_strerror(failure);
        return EHOSTUNREACH;
    }
    int error = EHOSTUNREACH;
    for (const addrinfo *address = found; address && m_fd < 0; address = address->ai_next)
        error = connectTo(*address, deadline);
    freeaddrinfo(found);
    if (m_fd >= 0)
        keepAlive();
    return error;
}

int TcpConnection::connectTo(const addrinfo &address, Clock::time_point deadline)
{
    const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol);
    if (fd < 0)
        return errno;
    int error = 0;
    if (::connect(fd, address.ai_addr, address.ai_addrlen) != 0) {
        error = errno;
        if (error == EINPROGRESS) {
            socklen_t length = sizeof error;
            if (waitFor(fd, POLLOUT, deadline) == 0)
                error = ETIMEDOUT;
            else if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
                error = errno;
        }
    }
    if (error != 0) {
        ::close(fd);
        return error;
    }
    m_fd = fd;
    return 0;
}

void TcpConnection::keepAlive()
{
    // Five seconds of silence, then two probes five seconds apart, and the unacknowledged
    // sends limited alike: the connection fails within silentLimit.
    const int on = 1;
    const int idle = 5;
    const int interval = 5;
    const int probes = 2;
    const unsigned userTimeoutMs = unsigned(std::chrono::milliseconds(silentLimit).count());
    setsockopt(m_fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    setsockopt(m_fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    setsockopt(m_fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    setsockopt(m_fd, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
    setsockopt(m_fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &userTimeoutMs, sizeof userTimeoutMs);
    // Readings are small and each one is wanted at once.
    setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

std::string TcpConnection::problem(int error) const
{
    return m_resolveProblem.empty() ? std::strerror(error) : "cannot resolve the name: " + m_resolveProblem;
}

void TcpConnection::close()
{
    if (m_fd < 0)
        return;
    ::close(m_fd);
    m_fd = -1;
}

void TcpConnection::shutdown()
{
    ::shutdown(m_fd, SHUT_RDWR);
}

long TcpConnection::receive(char *buffer, std::size_t size)
{
    long n;
    do {
        n = ::recv(m_fd, buffer, size, 0);
    } while (n < 0 && errno == EINTR);
    return n;
}

int TcpConnection::send(std::string_view bytes, std::chrono::milliseconds limit)
{
    const Clock::time_point deadline = Clock::now() + limit;
    while (!bytes.empty()) {
        const long n = ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n > 0) {
            bytes.remove_prefix(std::size_t(n));
        } else if (errno == EAGAIN) {
            if (waitFor(m_fd, POLLOUT, deadline) == 0)
                return ETIMEDOUT;
        } else if (errno != EINTR) {
            return errno;
        }
    }
    return 0;
}
