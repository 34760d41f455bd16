// The kernel's termios2 interface (any rate, not only the B-constants) lives in
// <asm/termbits.h>, which clashes with glibc's <termios.h>; keeping both out of every
// other file is why this file exists.
#include "serial/PosixSerialDevice.h"

#include "serial/DeviceHolders.h"
#include "serial/EComPort.h"
#include "serial/ReadDeadlines.h"

#include <asm/termbits.h>
#include <linux/serial.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

struct RateCode
{
    std::uint32_t rate;
    tcflag_t code;
};

constexpr std::array<RateCode, 15> standardRates = {{
    {110, B110}, {300, B300}, {600, B600}, {1200, B1200}, {2400, B2400}, {4800, B4800},
    {9600, B9600}, {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200},
    {230400, B230400}, {460800, B460800}, {500000, B500000}, {921600, B921600}}};

// A driver without modem lines or line counters (a pseudo-terminal) answers this way.
bool isUnsupported(int error)
{
    return error == ENOTTY || error == EINVAL;
}

termios2 readState(int fd)
{
    termios2 state{};
    if (ioctl(fd, TCGETS2, &state) != 0)
        throw EComPort(EComPort::SetStateFailed, errno);
    return state;
}

void setRate(termios2 &state, std::uint32_t rate)
{
    // Rate 0 would hang the line up; above INT_MAX it is a negative custom rate.
    if (rate == 0 || rate > 0x7FFFFFFFu)
        throw EComPort(EComPort::SetStateFailed, EINVAL);
    const auto standard = std::find_if(standardRates.begin(), standardRates.end(),
                                       [&](const RateCode &r) { return r.rate == rate; });
    state.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    state.c_cflag |= standard != standardRates.end() ? standard->code : BOTHER;
    state.c_ispeed = rate;
    state.c_ospeed = rate;
}

tcflag_t sizeFlag(std::uint8_t byteSize)
{
    switch (byteSize) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    case 8: return CS8;
    }
    throw EComPort(EComPort::SetStateFailed, EINVAL);
}

tcflag_t parityFlags(std::uint8_t parity)
{
    switch (parity) {
    case 0: return 0;
    case 1: return PARENB | PARODD;
    case 2: return PARENB;
    case 3: return PARENB | CMSPAR | PARODD;
    case 4: return PARENB | CMSPAR;
    }
    throw EComPort(EComPort::SetStateFailed, EINVAL);
}

tcflag_t stopFlags(std::uint8_t stopBits)
{
    // One and a half stop bits is what the UART sends for CSTOPB with five data bits.
    if (stopBits > 2)
        throw EComPort(EComPort::SetStateFailed, EINVAL);
    return stopBits == 0 ? 0 : CSTOPB;
}

// Raw mode plus the record's line format and handshakes.
void translate(const TDCB &dcb, termios2 &state)
{
    state.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF
                       | IXANY | INPCK | IGNPAR);
    state.c_oflag &= ~OPOST;
    state.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    state.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    state.c_cflag |= CREAD | CLOCAL | sizeFlag(dcb.ByteSize) | parityFlags(dcb.Parity)
                     | stopFlags(dcb.StopBits);
    if ((dcb.Flags & TDCB::fOutxCtsFlow) || dcb.rtsControl() == 2)
        state.c_cflag |= CRTSCTS;
    if (dcb.Flags & TDCB::fParity)
        state.c_iflag |= INPCK;
    if (dcb.Flags & TDCB::fOutX)
        state.c_iflag |= IXON;
    if (dcb.Flags & TDCB::fInX)
        state.c_iflag |= IXOFF;
    state.c_cc[VSTART] = cc_t(dcb.XonChar);
    state.c_cc[VSTOP] = cc_t(dcb.XoffChar);
    // With O_NONBLOCK, VMIN 1 makes an empty queue read as EAGAIN rather than as 0.
    state.c_cc[VMIN] = 1;
    state.c_cc[VTIME] = 0;
    setRate(state, dcb.BaudRate);
}

constexpr tcflag_t checkedFlags = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;

bool sameLine(const termios2 &wanted, const termios2 &actual)
{
    return (wanted.c_cflag & checkedFlags) == (actual.c_cflag & checkedFlags)
           && wanted.c_ospeed == actual.c_ospeed;
}

PosixSerialDevice::LineState lineStateOf(const termios2 &state)
{
    PosixSerialDevice::LineState line;
    line.rate = int(state.c_ospeed);
    static constexpr std::pair<tcflag_t, int> sizes[] = {{CS5, 5}, {CS6, 6}, {CS7, 7}, {CS8, 8}};
    for (auto [flag, bits] : sizes) {
        if ((state.c_cflag & CSIZE) == flag)
            line.dataBits = bits;
    }
    if (state.c_cflag & PARENB) {
        const bool odd = state.c_cflag & PARODD;
        line.parity = (state.c_cflag & CMSPAR) ? (odd ? 'M' : 'S') : (odd ? 'O' : 'E');
    }
    line.twoStopBits = state.c_cflag & CSTOPB;
    line.rtsCts = state.c_cflag & CRTSCTS;
    line.xonXoffOut = state.c_iflag & IXON;
    line.xonXoffIn = state.c_iflag & IXOFF;
    line.parityCheck = state.c_iflag & INPCK;
    line.xonChar = char(state.c_cc[VSTART]);
    line.xoffChar = char(state.c_cc[VSTOP]);
    return line;
}

std::vector<int> readLineCounters(int fd)
{
    serial_icounter_struct counters{};
    if (ioctl(fd, TIOCGICOUNT, &counters) != 0)
        return {};
    return {counters.frame, counters.parity, counters.overrun, counters.buf_overrun, counters.brk};
}

} // namespace

// A read in progress: the descriptor that abortPendingIO() signals to end it. Created
// only when the read has to wait, released on every path.
class PosixSerialDevice::ReadRecord
{
public:
    explicit ReadRecord(PosixSerialDevice &device) : m_device(device)
    {
        m_abort = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (m_abort < 0)
            fail(EComPort::ReadFailed);
        std::lock_guard lock(m_device.m_mutex);
        m_device.m_pendingReads.push_back(this);
    }

    ~ReadRecord()
    {
        {
            std::lock_guard lock(m_device.m_mutex);
            std::erase(m_device.m_pendingReads, this);
        }
        ::close(m_abort);
    }

    ReadRecord(const ReadRecord &) = delete;
    ReadRecord &operator=(const ReadRecord &) = delete;

    int abortHandle() const { return m_abort; }

    void abort()
    {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_abort, &one, sizeof one);
    }

private:
    PosixSerialDevice &m_device;
    int m_abort = -1;
};

void PosixSerialDevice::fail(int code)
{
    fail(code, errno);
}

void PosixSerialDevice::fail(int code, int error)
{
    throw EComPort(code, error);
}

PosixSerialDevice::~PosixSerialDevice()
{
    close();
}

QByteArray PosixSerialDevice::devicePath(const QString &port)
{
    const QByteArray name = port.toLocal8Bit();
    return name.startsWith('/') ? name : QByteArray("/dev/") + name;
}

void PosixSerialDevice::open(const QString &port)
{
    const QByteArray path = devicePath(port);
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        fail(EComPort::OpenFailed);
    try {
        claim(fd, path);
    } catch (...) {
        ::close(fd);
        throw;
    }
    // TIOCEXCL keeps other users out but not root; the lock keeps out root too.
    ioctl(fd, TIOCEXCL);
    termios2 found{};
    m_savedState = ioctl(fd, TCGETS2, &found) == 0
                       ? QByteArray(reinterpret_cast<const char *>(&found), sizeof found)
                       : QByteArray();
    m_fd = fd;
    std::lock_guard lock(m_mutex);
    m_lineErrorCounts = readLineCounters(fd);
}

void PosixSerialDevice::claim(int fd, const QByteArray &path)
{
    // A file or a pipe given as the port must not be locked, let alone configured.
    struct stat device{};
    if (fstat(fd, &device) != 0)
        fail(EComPort::OpenFailed);
    if (!S_ISCHR(device.st_mode))
        fail(EComPort::OpenFailed, ENOTTY);
    // Two readers of one line each get part of the bytes: a port that someone else
    // has open, or has locked, is refused.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        fail(EComPort::OpenFailed, errno == EWOULDBLOCK ? EBUSY : errno);
    if (const pid_t holder = DeviceHolders::findOther(device.st_rdev)) {
        reportRefusal(path, "is open in " + DeviceHolders::describe(holder));
        fail(EComPort::OpenFailed, EBUSY);
    }
    if (m_uucpLock.acquire(path) == UucpLock::Outcome::HeldElsewhere) {
        reportRefusal(path, "is locked by " + m_uucpLock.refusal().toStdString());
        fail(EComPort::OpenFailed, EBUSY);
    }
}

// The error box says only that the port is busy; the line on standard error says who
// holds it, so that the user can end that program or remove a lock left behind.
void PosixSerialDevice::reportRefusal(const QByteArray &path, const std::string &holder)
{
    std::fprintf(stderr, "ondrix: %s %s\n", path.constData(), holder.c_str());
}

void PosixSerialDevice::close()
{
    if (m_fd < 0)
        return;
    if (m_savedState.size() == int(sizeof(termios2)))
        ioctl(m_fd, TCSETS2, m_savedState.constData());
    ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
    m_savedState.clear();
    m_uucpLock.release();
}

bool PosixSerialDevice::hungUp() const
{
    pollfd device = {m_fd, 0, 0};
    return poll(&device, 1, 0) > 0 && (device.revents & POLLHUP);
}

void PosixSerialDevice::setupQueues(int inputSize, int outputSize)
{
    if (m_fd < 0)
        fail(EComPort::SetupFailed, EBADF);
    m_inputQueueSize = inputSize;
    m_outputQueueSize = outputSize;
}

void PosixSerialDevice::applyLineSettings(const TDCB &dcb)
{
    if (m_fd < 0)
        fail(EComPort::SetStateFailed, EBADF);
    const termios2 previous = readState(m_fd);
    termios2 wanted = previous;
    translate(dcb, wanted);
    if (ioctl(m_fd, TCSETS2, &wanted) != 0)
        fail(EComPort::SetStateFailed);
    // The driver may accept the call yet keep what it cannot do: undo and refuse.
    if (!sameLine(wanted, readState(m_fd))) {
        ioctl(m_fd, TCSETS2, &previous);
        fail(EComPort::SetStateFailed, EINVAL);
    }
    applyModemLines(dcb);
}

void PosixSerialDevice::applyModemLines(const TDCB &dcb)
{
    // Handshake lines belong to the driver (CRTSCTS); the levels set here are the
    // fixed ones: on for "enable", off for "disable".
    int raise = 0;
    int lower = 0;
    (dcb.dtrControl() == 0 ? lower : raise) |= TIOCM_DTR;
    if (dcb.rtsControl() == 1)
        raise |= TIOCM_RTS;
    else if (dcb.rtsControl() != 2)
        lower |= TIOCM_RTS;
    for (auto [request, lines] : {std::pair{TIOCMBIS, raise}, std::pair{TIOCMBIC, lower}}) {
        if (lines != 0 && ioctl(m_fd, request, &lines) != 0 && !isUnsupported(errno))
            fail(EComPort::SetStateFailed);
    }
}

void PosixSerialDevice::applyTimeouts(const TCommTimeouts &timeouts)
{
    if (m_fd < 0)
        fail(EComPort::SetTimeoutsFailed, EBADF);
    std::lock_guard lock(m_mutex);
    m_timeouts = timeouts;
}

PosixSerialDevice::QueueStatus PosixSerialDevice::queueStatus()
{
    QueueStatus status;
    if (ioctl(m_fd, FIONREAD, &status.inputCount) != 0)
        fail(EComPort::ClearErrorFailed);
    takeLineErrors(status);
    return status;
}

void PosixSerialDevice::takeLineErrors(QueueStatus &status)
{
    static constexpr std::uint32_t flagOfCounter[] = {0x0008, 0x0004, 0x0002, 0x0001, 0x0010};
    std::lock_guard lock(m_mutex);
    if (m_lineErrorCounts.empty())
        return;
    const std::vector<int> now = readLineCounters(m_fd);
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (now[i] != m_lineErrorCounts[i])
            status.errorFlags |= flagOfCounter[i];
    }
    if (!now.empty())
        m_lineErrorCounts = now;
}

std::uint32_t PosixSerialDevice::modemStatus()
{
    int lines = 0;
    if (ioctl(m_fd, TIOCMGET, &lines) != 0) {
        if (m_fd >= 0 && isUnsupported(errno))
            return 0;
        fail(EComPort::ModemStatusFailed);
    }
    std::uint32_t status = 0;
    status |= (lines & TIOCM_CTS) ? modemCts : 0;
    status |= (lines & TIOCM_DSR) ? modemDsr : 0;
    status |= (lines & TIOCM_RNG) ? modemRing : 0;
    status |= (lines & TIOCM_CAR) ? modemRlsd : 0;
    return status;
}

void PosixSerialDevice::abortPendingIO()
{
    if (m_fd < 0)
        fail(EComPort::PurgeFailed, EBADF);
    std::lock_guard lock(m_mutex);
    for (ReadRecord *record : m_pendingReads)
        record->abort();
}

void PosixSerialDevice::purge()
{
    ioctl(m_fd, TCFLSH, TCIOFLUSH);
}

int PosixSerialDevice::readAvailable(char *data, int count, bool &hungUp)
{
    int got = 0;
    while (got < count) {
        const ssize_t n = ::read(m_fd, data + got, std::size_t(count - got));
        if (n > 0) {
            got += int(n);
        } else if (n == 0 || errno == EIO) {
            // The other side is gone: end of file, or EIO from a pseudo-terminal.
            hungUp = true;
            break;
        } else if (errno == EAGAIN) {
            break;
        } else if (errno != EINTR) {
            fail(EComPort::ReadFailed);
        }
    }
    return got;
}

int PosixSerialDevice::read(char *data, int count)
{
    if (m_fd < 0)
        fail(EComPort::ReadFailed, EBADF);
    bool hungUp = false;
    const int got = readAvailable(data, count, hungUp);
    TCommTimeouts timeouts;
    {
        std::lock_guard lock(m_mutex);
        timeouts = m_timeouts;
    }
    if (got == count || ReadDeadlines::returnsAtOnce(timeouts))
        return got;
    if (hungUp) {
        if (got == 0)
            fail(EComPort::ReadFailed, EIO);
        return got;
    }
    ReadRecord record(*this);
    return waitForMore(data, count, got, record);
}

int PosixSerialDevice::waitForMore(char *data, int count, int got, const ReadRecord &record)
{
    TCommTimeouts timeouts;
    {
        std::lock_guard lock(m_mutex);
        timeouts = m_timeouts;
    }
    ReadDeadlines deadlines(timeouts, count, got > 0);
    for (;;) {
        pollfd fds[2] = {{m_fd, POLLIN, 0}, {record.abortHandle(), POLLIN, 0}};
        const int ready = poll(fds, 2, deadlines.pollTimeout());
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            fail(EComPort::ReadFailed);
        if (ready == 0)
            return got;
        if (fds[1].revents != 0)
            fail(EComPort::ReadFailed, ECANCELED);
        if (fds[0].revents & POLLNVAL)
            fail(EComPort::ReadFailed, EBADF);
        bool hungUp = false;
        const int n = readAvailable(data + got, count - got, hungUp);
        got += n;
        if (n > 0)
            deadlines.bytesArrived();
        if (got == count || (n > 0 && deadlines.firstBytesEnd()))
            return got;
        if (hungUp) {
            if (got == 0)
                fail(EComPort::ReadFailed, EIO);
            return got;
        }
    }
}

PosixSerialDevice::LineState PosixSerialDevice::lineState() const
{
    return lineStateOf(readState(m_fd));
}

PosixSerialDevice::LineState PosixSerialDevice::requestedLineState(const TDCB &dcb)
{
    termios2 state{};
    translate(dcb, state);
    return lineStateOf(state);
}
