#include "Pacer.h"

namespace {

constexpr std::int64_t nanosecondsPerSecond = 1000000000;

std::int64_t now()
{
    timespec time = {};
    clock_gettime(CLOCK_MONOTONIC, &time);
    return time.tv_sec * nanosecondsPerSecond + time.tv_nsec;
}

} // namespace

Pacer::Pacer(std::int64_t periodNumerator, std::int64_t periodDenominator)
    : m_numerator(periodNumerator), m_denominator(periodDenominator)
{
    restart();
}

void Pacer::restart(std::int64_t nanoseconds)
{
    m_start = now() - nanoseconds;
}

timespec Pacer::deadlineAfter(std::int64_t nanoseconds)
{
    std::int64_t due = m_start + nanoseconds;
    const std::int64_t current = now();
    if (current - due > nanosecondsPerSecond) {
        m_start = current - nanoseconds;
        due = current;
    }
    return timespec{static_cast<time_t>(due / nanosecondsPerSecond), static_cast<long>(due % nanosecondsPerSecond)};
}

std::int64_t Pacer::offset(std::uint64_t halfStep) const
{
    // 128 bits: a day at a million writes per second overflows 64. A GNU type, which
    // __extension__ lets through -Wpedantic.
    __extension__ using Wide = unsigned __int128;
    const Wide product = static_cast<Wide>(halfStep) * static_cast<std::uint64_t>(m_numerator);
    return static_cast<std::int64_t>(product / (2 * static_cast<Wide>(m_denominator)));
}
