#include "DeviceOutput.h"

#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

DeviceOutput::DeviceOutput(const std::string &path)
    : m_device(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC))
{
    if (!m_device.valid())
        throw std::runtime_error(systemError("open " + path));
    if (isatty(m_device.get()) == 1)
        makeRaw(m_device.get());
}

bool DeviceOutput::readerAttached()
{
    return true;
}

bool DeviceOutput::waitForReader(const SignalStop &)
{
    return true;
}

void DeviceOutput::send(std::string_view text)
{
    writeOrDrop(m_device.get(), text);
}

bool DeviceOutput::sendAll(std::string_view text, const SignalStop &stop)
{
    return writeAll(m_device.get(), text, stop);
}

void DeviceOutput::finish(const SignalStop &)
{
}
