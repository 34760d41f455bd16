#include "BoardOutput.h"

#include "SignalStop.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

void BoardOutput::writeOrDrop(int fd, std::string_view text)
{
    ssize_t written = -1;
    do {
        written = ::write(fd, text.data(), text.size());
    } while (written < 0 && errno == EINTR);
    if (written < 0 && errno != EAGAIN && errno != EIO)
        throw std::runtime_error(systemError("write"));
}

bool BoardOutput::writeAll(int fd, std::string_view text, const SignalStop &stop)
{
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written > 0) {
            text.remove_prefix(static_cast<std::size_t>(written));
            continue;
        }
        const int error = written < 0 ? errno : EAGAIN;
        if (error == EINTR)
            continue;
        // A pseudo-terminal without a reader reports a hang-up, never room: asking
        // first keeps this from spinning.
        if ((error == EAGAIN || error == EIO) && !readerAttached())
            return false;
        if (error != EAGAIN) {
            errno = error;
            throw std::runtime_error(systemError("write"));
        }
        if (!stop.waitWritable(fd))
            return false;
    }
    return true;
}

void BoardOutput::makeRaw(int fd)
{
    termios mode = {};
    if (tcgetattr(fd, &mode) != 0)
        throw std::runtime_error(systemError("tcgetattr"));
    cfmakeraw(&mode);
    if (tcsetattr(fd, TCSANOW, &mode) != 0)
        throw std::runtime_error(systemError("tcsetattr"));
}

std::string BoardOutput::systemError(const std::string &what)
{
    return what + ": " + std::strerror(errno);
}
