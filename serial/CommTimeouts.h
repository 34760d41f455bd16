#pragma once

#include <cstdint>

// The read and write time-outs in milliseconds (multipliers: per byte). An interval of
// all ones with both read totals 0 means "return at once with what is queued".
struct TCommTimeouts
{
    static constexpr std::uint32_t maxValue = 0xFFFFFFFFu;

    std::uint32_t ReadIntervalTimeout = 0;
    std::uint32_t ReadTotalTimeoutMultiplier = 0;
    std::uint32_t ReadTotalTimeoutConstant = 0;
    std::uint32_t WriteTotalTimeoutMultiplier = 0;
    std::uint32_t WriteTotalTimeoutConstant = 0;
};
