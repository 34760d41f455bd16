#include "serial/NetworkSerialDevice.h"

#include "runtime/PaintingWait.h"
#include "serial/EComPort.h"
#include "serial/ReadDeadlines.h"
#include "serial/RemoteLineSettings.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds sendLimit{1000};

[[noreturn]] void fail(int code, int error)
{
    throw EComPort(code, error);
}

std::string trimmed(std::string text)
{
    while (!text.empty() && std::strchr("\r\n ", text.back()))
        text.pop_back();
    return text;
}

} // namespace

NetworkSerialDevice::~NetworkSerialDevice()
{
    close();
}

void NetworkSerialDevice::open(const QString &port)
{
    close();
    const std::optional<PortAddress> address = PortAddress::parse(port);
    if (!address) {
        std::fprintf(stderr, "ondrix: %s is not an rfc2217://HOST:PORT or socket://HOST:PORT address\n",
                     qPrintable(port));
        fail(EComPort::OpenFailed, EINVAL);
    }
    m_address = *address;
    connect();
    m_wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    m_abort = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wake < 0 || m_abort < 0) {
        const int error = errno;
        close();
        fail(EComPort::OpenFailed, error);
    }
    Lock lock(m_mutex);
    m_codec = TelnetCodec();
    m_input.clear();
    m_peerClosed = false;
    m_peerError = 0;
    m_timeouts = TCommTimeouts{};
    m_announced = false;
    m_readSinceCount = false;
    refuseIfInUse(lock);
}

void NetworkSerialDevice::connect()
{
    int error = 0;
    PaintingWait::run([&] { error = m_connection.connect(m_address.host, m_address.service); });
    if (error == 0)
        return;
    std::fprintf(stderr, "ondrix: cannot connect to %s: %s\n", m_address.describe().c_str(),
                 m_connection.problem(error).c_str());
    fail(EComPort::OpenFailed, error);
}

// ser2net greets a client beyond max-connections with a short text and closes. The
// Telnet side asks for the rate (value 0 asks, sets nothing), which a serving server
// answers; a raw port gives the server a moment to close. The Telnet side also asks to
// be told of overruns, parity and framing errors and breaks.
void NetworkSerialDevice::refuseIfInUse(Lock &lock)
{
    if (telnet()) {
        sendToServer(m_codec.start() + TelnetCodec::command(TelnetCodec::SetLineStateMask, 0x1E, 1)
                     + TelnetCodec::command(TelnetCodec::SetBaudRate, 0, 4));
        awaitArrivals(lock, [this] { return m_codec.answer(TelnetCodec::SetBaudRate).has_value(); }, answerLimit);
    } else {
        awaitArrivals(lock, [] { return false; }, refusalTime);
    }
    if (!m_peerClosed)
        return;
    const std::string text = trimmed(m_input);
    const int error = text.empty() ? m_peerError : EBUSY;
    std::fprintf(stderr, "ondrix: %s: %s\n", m_address.describe().c_str(),
                 text.empty() ? std::strerror(error) : text.c_str());
    lock.unlock();
    close();
    fail(EComPort::OpenFailed, error);
}

void NetworkSerialDevice::close()
{
    m_connection.close();
    for (int *fd : {&m_wake, &m_abort}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

bool NetworkSerialDevice::hungUp() const
{
    pollfd socket = {m_connection.handle(), 0, 0};
    if (poll(&socket, 1, 0) > 0 && (socket.revents & (POLLHUP | POLLERR)))
        return true;
    std::lock_guard lock(m_mutex);
    return m_peerClosed;
}

// Everything the socket holds now, without waiting: the data into the queue, the
// server's commands answered. Bytes taken here no longer raise the socket's readiness:
// unless the caller counts them for a delivery, the event thread hears of them through
// the wake descriptor.
void NetworkSerialDevice::takeArrivals(bool announce)
{
    const std::size_t queued = m_input.size();
    char buffer[4096];
    for (;;) {
        const long n = m_connection.receive(buffer, sizeof buffer);
        if (n < 0 && errno == EAGAIN)
            break;
        if (n <= 0) {
            m_peerClosed = true;
            m_peerError = n == 0 ? ECONNRESET : errno;
            break;
        }
        const std::string_view bytes(buffer, std::size_t(n));
        if (telnet()) {
            m_codec.receive(bytes);
            m_input += m_codec.takeData();
            if (const std::string replies = m_codec.takeReplies(); !replies.empty())
                sendToServer(replies);
        } else {
            m_input += bytes;
        }
        // A short read emptied the socket: what comes next announces itself.
        if (std::size_t(n) < sizeof buffer)
            break;
    }
    if (announce && m_input.size() > queued)
        announceQueued();
    endIfDrained();
}

// Once the server has gone and its last bytes are read, the socket is shut down in both
// directions: its hang-up then ends the event thread's wait as a vanished device's does.
void NetworkSerialDevice::endIfDrained()
{
    if (m_peerClosed && m_input.empty())
        m_connection.shutdown();
}

void NetworkSerialDevice::sendToServer(std::string_view bytes)
{
    if (const int error = m_connection.send(bytes, sendLimit); error != 0 && !m_peerClosed) {
        m_peerClosed = true;
        m_peerError = error;
    }
}

// Takes arrivals until done() holds, the server has gone or limit has passed; true
// when done() holds. The lock is free while the socket is waited for.
bool NetworkSerialDevice::awaitArrivals(Lock &lock, const std::function<bool()> &done, std::chrono::milliseconds limit)
{
    const Clock::time_point deadline = Clock::now() + limit;
    takeArrivals(true);
    while (!done() && !m_peerClosed) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            break;
        pollfd socket = {m_connection.handle(), POLLIN, 0};
        lock.unlock();
        poll(&socket, 1, int(left));
        lock.lock();
        takeArrivals(true);
    }
    return done();
}

void NetworkSerialDevice::announceQueued()
{
    if (!m_announced)
        signal(m_wake);
    m_announced = true;
}

void NetworkSerialDevice::signal(int fd)
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(fd, &one, sizeof one);
}

void NetworkSerialDevice::drain(int fd)
{
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = ::read(fd, &count, sizeof count);
}

void NetworkSerialDevice::setupQueues(int, int)
{
    if (!isOpen())
        fail(EComPort::SetupFailed, EBADF);
}

void NetworkSerialDevice::applyLineSettings(const TDCB &dcb)
{
    if (!isOpen())
        fail(EComPort::SetStateFailed, EBADF);
    // What a local line refuses is refused here too, raw or not.
    if (dcb.BaudRate == 0 || dcb.BaudRate > 0x7FFFFFFFu || dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > 4
        || dcb.StopBits > 2)
        fail(EComPort::SetStateFailed, EINVAL);
    if (!telnet())
        return;
    const auto settings = remoteLineSettings(dcb);
    Lock lock(m_mutex);
    std::string commands;
    for (const RemoteLineSetting &setting : settings) {
        m_codec.forget(setting.command);
        commands += TelnetCodec::command(setting.command, setting.value, setting.width);
    }
    sendToServer(commands);
    const auto answered = [&] {
        for (const RemoteLineSetting &setting : settings) {
            if (!m_codec.answer(setting.command))
                return false;
        }
        return true;
    };
    if (!awaitArrivals(lock, answered, answerLimit))
        fail(EComPort::SetStateFailed, m_peerClosed ? m_peerError : ETIMEDOUT);
    for (const RemoteLineSetting &setting : settings) {
        if (*m_codec.answer(setting.command) != setting.value)
            fail(EComPort::SetStateFailed, EINVAL);
    }
}

void NetworkSerialDevice::applyTimeouts(const TCommTimeouts &timeouts)
{
    if (!isOpen())
        fail(EComPort::SetTimeoutsFailed, EBADF);
    std::lock_guard lock(m_mutex);
    m_timeouts = timeouts;
}

SerialDevice::QueueStatus NetworkSerialDevice::queueStatus()
{
    Lock lock(m_mutex);
    if (!isOpen())
        fail(EComPort::ClearErrorFailed, EBADF);
    // What is taken now is counted now, and an announcement of earlier bytes is covered
    // by this count. Only a count right after a read (ReadBytes clears the line errors
    // that way) takes bytes that nobody reads on its word: those are announced.
    if (m_announced)
        drain(m_wake);
    m_announced = false;
    takeArrivals(std::exchange(m_readSinceCount, false));
    QueueStatus status;
    status.inputCount = int(m_input.size());
    status.errorFlags = telnet() ? m_codec.takeLineState() : 0;
    return status;
}

std::uint32_t NetworkSerialDevice::modemStatus()
{
    if (!isOpen())
        fail(EComPort::ModemStatusFailed, EBADF);
    std::lock_guard lock(m_mutex);
    return telnet() ? m_codec.modemState() : 0;
}

void NetworkSerialDevice::abortPendingIO()
{
    if (!isOpen())
        fail(EComPort::PurgeFailed, EBADF);
    std::lock_guard lock(m_mutex);
    if (m_waitingReads > 0)
        signal(m_abort);
}

void NetworkSerialDevice::purge()
{
    std::lock_guard lock(m_mutex);
    m_input.clear();
}

int NetworkSerialDevice::takeInput(char *data, int count)
{
    const std::size_t n = std::min(std::size_t(count), m_input.size());
    m_input.copy(data, n);
    m_input.erase(0, n);
    endIfDrained();
    return int(n);
}

int NetworkSerialDevice::read(char *data, int count)
{
    Lock lock(m_mutex);
    if (!isOpen())
        fail(EComPort::ReadFailed, EBADF);
    m_readSinceCount = true;
    if (m_input.size() < std::size_t(count))
        takeArrivals(true);
    const int got = takeInput(data, count);
    if (got == count || ReadDeadlines::returnsAtOnce(m_timeouts))
        return got;
    if (m_peerClosed) {
        if (got == 0)
            fail(EComPort::ReadFailed, EIO);
        return got;
    }
    return waitForMore(lock, data, count, got);
}

int NetworkSerialDevice::waitForMore(Lock &lock, char *data, int count, int got)
{
    struct Waiting
    {
        NetworkSerialDevice &device;
        explicit Waiting(NetworkSerialDevice &d) : device(d) { ++device.m_waitingReads; }
        ~Waiting()
        {
            if (--device.m_waitingReads == 0)
                drain(device.m_abort); // an abort meant for reads that are over
        }
    } waiting(*this);
    ReadDeadlines deadlines(m_timeouts, count, got > 0);
    for (;;) {
        pollfd fds[2] = {{m_connection.handle(), POLLIN, 0}, {m_abort, POLLIN, 0}};
        lock.unlock();
        const int ready = poll(fds, 2, deadlines.pollTimeout());
        const int error = errno;
        lock.lock();
        if (ready < 0 && error == EINTR)
            continue;
        if (ready < 0)
            fail(EComPort::ReadFailed, error);
        if (ready == 0)
            return got;
        if (fds[1].revents != 0)
            fail(EComPort::ReadFailed, ECANCELED);
        takeArrivals(true);
        const int n = takeInput(data + got, count - got);
        got += n;
        if (n > 0)
            deadlines.bytesArrived();
        if (got == count || (n > 0 && deadlines.firstBytesEnd()))
            return got;
        if (m_peerClosed) {
            if (got == 0)
                fail(EComPort::ReadFailed, EIO);
            return got;
        }
    }
}
