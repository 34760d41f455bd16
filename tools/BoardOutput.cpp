#include "BoardOutput.h"

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
