#pragma once

#include <cstdint>

// The line-settings record: everything the driver needs to know about the line format
// and its handshakes, in one plain value. The flag word holds the switches below; the
// DTR and RTS control values sit in it as small numbers at their shifts.
struct TDCB
{
    static constexpr std::uint32_t fBinary = 0x0001;          // raw transfer, always set
    static constexpr std::uint32_t fParity = 0x0002;          // check parity of input
    static constexpr std::uint32_t fOutxCtsFlow = 0x0004;
    static constexpr std::uint32_t fOutxDsrFlow = 0x0008;
    static constexpr int dtrControlShift = 4;                 // 2 bits
    static constexpr std::uint32_t fDsrSensitivity = 0x0040;
    static constexpr std::uint32_t fTXContinueOnXoff = 0x0080;
    static constexpr std::uint32_t fOutX = 0x0100;
    static constexpr std::uint32_t fInX = 0x0200;
    static constexpr std::uint32_t fErrorChar = 0x0400;
    static constexpr std::uint32_t fNull = 0x0800;            // drop received NULs
    static constexpr int rtsControlShift = 12;                // 2 bits
    static constexpr std::uint32_t fAbortOnError = 0x4000;    // never set here

    std::uint32_t DCBlength = 0;
    std::uint32_t BaudRate = 0;   // bits per second
    std::uint32_t Flags = 0;
    std::uint16_t XonLim = 0;     // bytes
    std::uint16_t XoffLim = 0;
    std::uint8_t ByteSize = 0;    // data bits, 5..8
    std::uint8_t Parity = 0;      // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::uint8_t StopBits = 0;    // 0 one, 1 one and a half, 2 two
    char XonChar = 0;
    char XoffChar = 0;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;

    int dtrControl() const { return int(Flags >> dtrControlShift) & 3; }
    int rtsControl() const { return int(Flags >> rtsControlShift) & 3; }
};
