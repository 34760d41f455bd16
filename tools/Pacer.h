#pragma once

#include <cstdint>
#include <ctime>

// Absolute deadlines for a steady stream of writes: step n is due at the start plus n
// periods, so the time spent writing never makes the stream drift. Steps are counted in
// halves so that the second part of a split write has its own deadline.
class Pacer
{
public:
    // The period is periodNumerator / periodDenominator nanoseconds, kept exact. Without
    // one, only deadlineAfter has a meaning.
    explicit Pacer(std::int64_t periodNumerator = 0, std::int64_t periodDenominator = 1);

    // The time `nanoseconds` after the start (half-step 0 by default) is now.
    void restart(std::int64_t nanoseconds = 0);

    // When half-step h is due on CLOCK_MONOTONIC.
    timespec deadline(std::uint64_t halfStep) { return deadlineAfter(offset(halfStep)); }

    // When the time `nanoseconds` after the start is due. A schedule that has fallen more
    // than a second behind (the process was stopped, say) starts afresh there rather than
    // sending the missed writes in one rush.
    timespec deadlineAfter(std::int64_t nanoseconds);

private:
    std::int64_t offset(std::uint64_t halfStep) const;

    std::int64_t m_numerator;
    std::int64_t m_denominator;
    std::int64_t m_start = 0;
};
