#include "serial/EComPort.h"

#include "runtime/Translation.h"

#include <array>

namespace {

constexpr std::array<const char *, EComPort::RegistryError> messageTable = {
    Translation::markSerial("Unable to open com port"),
    Translation::markSerial("WriteFile function failed"),
    Translation::markSerial("ReadFile function failed"),
    Translation::markSerial("Invalid Async parameter"),
    Translation::markSerial("PurgeComm function failed"),
    Translation::markSerial("Unable to get async status"),
    Translation::markSerial("SetCommState function failed"),
    Translation::markSerial("SetCommTimeouts failed"),
    Translation::markSerial("SetupComm function failed"),
    Translation::markSerial("ClearCommError function failed"),
    Translation::markSerial("GetCommModemStatus function failed"),
    Translation::markSerial("EscapeCommFunction function failed"),
    Translation::markSerial("TransmitCommChar function failed"),
    Translation::markSerial("Cannot set property while connected"),
    Translation::markSerial("EnumPorts function failed"),
    Translation::markSerial("Failed to store settings"),
    Translation::markSerial("Failed to load settings"),
    Translation::markSerial("Link (un)registration failed"),
    Translation::markSerial("Cannot change led state if ComPort is selected"),
    Translation::markSerial("Cannot wait for event if event thread is created"),
    Translation::markSerial("WaitForEvent method failed"),
    Translation::markSerial("A component is linked to OnRxBuf event"),
    Translation::markSerial("Registry error"),
};

QString withSystemCode(int code, int systemCode)
{
    QString suffix = Translation::serialText(" (win error code: %d)");
    return EComPort::messageText(code) + suffix.replace(QLatin1String("%d"), QString::number(systemCode));
}

} // namespace

QString EComPort::messageText(int code)
{
    if (code < 1 || code > int(messageTable.size()))
        return QString();
    return Translation::serialText(messageTable[std::size_t(code - 1)]);
}

EComPort::EComPort(int code) : Exception(messageText(code)), m_code(code), m_systemCode(noSystemCode)
{
}

EComPort::EComPort(int code, int systemCode)
    : Exception(withSystemCode(code, systemCode)), m_code(code), m_systemCode(std::uint32_t(systemCode))
{
}
