#include "app/WriterWait.h"

#include "runtime/Exception.h"

#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>
#include <vector>

WriterWait::WriterWait()
{
    m_wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wake < 0)
        throw EOutOfResources(
            QStringLiteral("eventfd: %1").arg(QString::fromStdString(std::generic_category().message(errno))));
}

WriterWait::~WriterWait()
{
    ::close(m_wake);
}

void WriterWait::wake()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(m_wake, &one, sizeof one);
}

void WriterWait::wait(std::span<const int> descriptors, std::optional<Clock::time_point> until)
{
    std::vector<pollfd> watched{{m_wake, POLLIN, 0}};
    for (const int descriptor : descriptors)
        watched.push_back({descriptor, POLLOUT, 0});
    int timeoutMs = -1;
    if (until) {
        // Rounded up, so that the wait never ends just before the time it waits for.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(*until - Clock::now());
        timeoutMs = int(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
    }
    // An interrupted wait simply returns: the writer looks at everything again anyway.
    if (::poll(watched.data(), watched.size(), timeoutMs) > 0 && (watched[0].revents & POLLIN)) {
        std::uint64_t wakes = 0;
        [[maybe_unused]] const ssize_t n = ::read(m_wake, &wakes, sizeof wakes);
    }
}
