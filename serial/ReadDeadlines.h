#pragma once

#include "serial/CommTimeouts.h"

#include <chrono>

// When a waiting read gives up, from the time-outs (milliseconds, multipliers per byte).
class ReadDeadlines
{
public:
    using Clock = std::chrono::steady_clock;

    // Interval all ones and both totals 0: a read returns at once with what is queued.
    static bool returnsAtOnce(const TCommTimeouts &t);

    ReadDeadlines(const TCommTimeouts &t, int count, bool haveBytes);

    // All-ones interval and multiplier: the read returns with its first bytes.
    bool firstBytesEnd() const { return m_firstBytesEnd; }
    void bytesArrived();
    // Milliseconds to wait for poll(): -1 for no limit.
    int pollTimeout() const;

private:
    bool m_firstBytesEnd = false;
    bool m_hasInterval = false;
    bool m_haveByte = false;
    Clock::time_point m_total = Clock::time_point::max();
    Clock::duration m_interval{};
    Clock::time_point m_lastByte;
};
