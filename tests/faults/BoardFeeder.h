#pragma once

#include "tests/support/PtyPair.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <limits>
#include <thread>

// A board on a thread of its own: writes well-formed readings ("<0..1023><tag>", the tags
// in turn) on the pseudo-terminal, a batch at a time, with a pause between batches or
// none (as fast as the pseudo-terminal takes them), until it has sent byteLimit bytes or
// is stopped.
class BoardFeeder
{
public:
    BoardFeeder(PtyPair &board, std::chrono::microseconds pause, int readingsPerBatch,
                std::uint64_t byteLimit = std::numeric_limits<std::uint64_t>::max());
    ~BoardFeeder();
    BoardFeeder(const BoardFeeder &) = delete;
    BoardFeeder &operator=(const BoardFeeder &) = delete;

    void stop();
    bool finished() const { return m_finished.load(); }
    // Readings of the batches written completely.
    std::uint64_t readingsSent() const { return m_readings.load(); }
    std::uint64_t bytesSent() const { return m_bytes.load(); }

private:
    void run(std::chrono::microseconds pause, int readingsPerBatch, std::uint64_t byteLimit);
    bool writeAll(std::string_view batch);

    PtyPair &m_board;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_finished{false};
    std::atomic<std::uint64_t> m_readings{0};
    std::atomic<std::uint64_t> m_bytes{0};
    std::thread m_thread;
};
