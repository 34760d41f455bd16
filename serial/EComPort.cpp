#include "serial/EComPort.h"

#include "runtime/Translation.h"

#include <array>

namespace {

constexpr std::array<const char *, EComPort::RegistryError> messageTable = {
    "Unable to open com port",
    "WriteFile function failed",
    "ReadFile function failed",
    "Invalid Async parameter",
    "PurgeComm function failed",
    "Unable to get async status",
    "SetCommState function failed",
    "SetCommTimeouts failed",
    "SetupComm function failed",
    "ClearCommError function failed",
    "GetCommModemStatus function failed",
    "EscapeCommFunction function failed",
    "TransmitCommChar function failed",
    "Cannot set property while connected",
    "EnumPorts function failed",
    "Failed to store settings",
    "Failed to load settings",
    "Link (un)registration failed",
    "Cannot change led state if ComPort is selected",
    "Cannot wait for event if event thread is created",
    "WaitForEvent method failed",
    "A component is linked to OnRxBuf event",
    "Registry error",
};

QString withSystemCode(int code, int systemCode)
{
    QString suffix = Translation::translate(Translation::serialDomain, " (win error code: %d)");
    return EComPort::messageText(code) + suffix.replace(QLatin1String("%d"), QString::number(systemCode));
}

} // namespace

QString EComPort::messageText(int code)
{
    if (code < 1 || code > int(messageTable.size()))
        return QString();
    return Translation::translate(Translation::serialDomain, messageTable[std::size_t(code - 1)]);
}

EComPort::EComPort(int code) : Exception(messageText(code)), m_code(code), m_systemCode(noSystemCode)
{
}

EComPort::EComPort(int code, int systemCode)
    : Exception(withSystemCode(code, systemCode)), m_code(code), m_systemCode(std::uint32_t(systemCode))
{
}
