#include "serial/ReadDeadlines.h"

#include <algorithm>
#include <cstdint>

bool ReadDeadlines::returnsAtOnce(const TCommTimeouts &t)
{
    return t.ReadIntervalTimeout == TCommTimeouts::maxValue && t.ReadTotalTimeoutMultiplier == 0
           && t.ReadTotalTimeoutConstant == 0;
}

ReadDeadlines::ReadDeadlines(const TCommTimeouts &t, int count, bool haveBytes)
{
    const auto now = Clock::now();
    constexpr std::uint32_t max = TCommTimeouts::maxValue;
    // All-ones interval and multiplier: return with the first bytes, or after the
    // constant when none come.
    m_firstBytesEnd = t.ReadIntervalTimeout == max && t.ReadTotalTimeoutMultiplier == max;
    const std::uint64_t total = m_firstBytesEnd ? t.ReadTotalTimeoutConstant
                                                : std::uint64_t(t.ReadTotalTimeoutMultiplier) * std::uint64_t(count)
                                                      + t.ReadTotalTimeoutConstant;
    if (total > 0)
        m_total = now + std::chrono::milliseconds(total);
    m_hasInterval = t.ReadIntervalTimeout != 0 && t.ReadIntervalTimeout != max;
    m_interval = std::chrono::milliseconds(m_hasInterval ? t.ReadIntervalTimeout : 0);
    m_haveByte = haveBytes;
    m_lastByte = now;
}

void ReadDeadlines::bytesArrived()
{
    m_haveByte = true;
    m_lastByte = Clock::now();
}

int ReadDeadlines::pollTimeout() const
{
    Clock::time_point deadline = m_total;
    if (m_hasInterval && m_haveByte)
        deadline = std::min(deadline, m_lastByte + m_interval);
    if (deadline == Clock::time_point::max())
        return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return int(std::clamp<std::int64_t>(left.count(), 0, 0x7FFFFFFF));
}
