#pragma once

#include "runtime/Exception.h"

#include <cstdint>

// A failure of the serial engine: the engine's own error code and, where the system
// reported one, its error number (errno).
class EComPort : public Exception
{
public:
    enum Code {
        OpenFailed = 1,
        WriteFailed,
        ReadFailed,
        InvalidAsyncParameter,
        PurgeFailed,
        AsyncStatusFailed,
        SetStateFailed,
        SetTimeoutsFailed,
        SetupFailed,
        ClearErrorFailed,
        ModemStatusFailed,
        EscapeFailed,
        TransmitFailed,
        SetWhileConnected,
        EnumPortsFailed,
        StoreFailed,
        LoadFailed,
        LinkFailed,
        LedStateFailed,
        WaitWithThread,
        WaitFailed,
        RxBufLinked,
        RegistryError
    };

    static constexpr std::uint32_t noSystemCode = 0xFFFFFFFFu;

    // The table text alone.
    explicit EComPort(int code);
    // The table text followed by " (win error code: N)".
    EComPort(int code, int systemCode);

    int code() const { return m_code; }
    std::uint32_t systemCode() const { return m_systemCode; }

    // The table text for a code, through the serial engine's catalogue.
    static QString messageText(int code);

private:
    int m_code;
    std::uint32_t m_systemCode;
};
