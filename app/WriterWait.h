#pragma once

#include <chrono>
#include <optional>
#include <span>

// The record writer's one wait: until wake() is called from any thread, one of some
// descriptors takes more bytes (or its reader has gone), or a time passes. The only file
// of the recordings that knows poll and eventfd.
class WriterWait
{
public:
    using Clock = std::chrono::steady_clock;

    // Raises EOutOfResources when the kernel gives no descriptor for the wake-up.
    WriterWait();
    ~WriterWait();
    WriterWait(const WriterWait &) = delete;
    WriterWait &operator=(const WriterWait &) = delete;

    // Any thread. A wake before wait() makes that wait return at once.
    void wake();

    // Returns on a wake, when one of descriptors polls writable or hung up, or at until.
    void wait(std::span<const int> descriptors, std::optional<Clock::time_point> until);

private:
    int m_wake = -1;
};
