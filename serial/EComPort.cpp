#include "serial/EComPort.h"

#include "runtime/Translation.h"

#include <QStringList>
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

// Translated once, the first time any message is made; thread-safe as a local static.
const QStringList &translatedTable()
{
    static const QStringList table = [] {
        QStringList texts;
        for (const char *text : messageTable)
            texts << Translation::translate(Translation::serialDomain, text);
        return texts;
    }();
    return table;
}

QString withSystemCode(int code, int systemCode)
{
    QString suffix = Translation::translate(Translation::serialDomain, " (win error code: %d)");
    return EComPort::messageText(code) + suffix.replace(QLatin1String("%d"), QString::number(systemCode));
}

} // namespace

QString EComPort::messageText(int code)
{
    const QStringList &table = translatedTable();
    return code >= 1 && code <= table.size() ? table[code - 1] : QString();
}

EComPort::EComPort(int code) : Exception(messageText(code)), m_code(code), m_systemCode(noSystemCode)
{
}

EComPort::EComPort(int code, int systemCode)
    : Exception(withSystemCode(code, systemCode)), m_code(code), m_systemCode(std::uint32_t(systemCode))
{
}
