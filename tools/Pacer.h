#pragma once

#include <cstdint>
#include <ctime>

// Absolute deadlines for a steady stream of writes: step n is due at the start plus n
// periods, so the time spent writing never makes the stream drift. Steps are counted in
// halves so that the second part of a split write has its own deadline.
class Pacer
{
public:
    // The period is periodNumerator / periodDenominator nanoseconds, kept exact.
    Pacer(std::int64_t periodNumerator, std::int64_t periodDenominator);

    // Half-step 0 is now.
    void restart();

    // When half-step h is due on CLOCK_MONOTONIC. A schedule that has fallen more than a
    // second behind (the process was stopped, say) starts afresh at h rather than
    // sending the missed writes in one rush.
    timespec deadline(std::uint64_t halfStep);

private:
    std::int64_t offset(std::uint64_t halfStep) const;

    std::int64_t m_numerator;
    std::int64_t m_denominator;
    std::int64_t m_start = 0;
};
