#include "tests/faults/BoardFeeder.h"

#include <string>

BoardFeeder::BoardFeeder(PtyPair &board, std::chrono::microseconds pause, int readingsPerBatch,
                         std::uint64_t byteLimit)
    : m_board(board), m_thread(&BoardFeeder::run, this, pause, readingsPerBatch, byteLimit)
{
}

BoardFeeder::~BoardFeeder()
{
    stop();
}

void BoardFeeder::stop()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

void BoardFeeder::run(std::chrono::microseconds pause, int readingsPerBatch, std::uint64_t byteLimit)
{
    std::uint64_t next = 0;
    std::string batch;
    while (!m_stop && m_bytes < byteLimit) {
        batch.clear();
        for (int i = 0; i < readingsPerBatch; ++i, ++next) {
            batch += std::to_string(next % 1024);
            batch += char('a' + next % 6);
        }
        if (!writeAll(batch))
            break;
        m_bytes += batch.size();
        m_readings += std::uint64_t(readingsPerBatch);
        if (pause.count() > 0)
            std::this_thread::sleep_for(pause); // the board's own pace
    }
    m_finished = true;
}

bool BoardFeeder::writeAll(std::string_view batch)
{
    while (!batch.empty()) {
        if (m_stop)
            return false;
        // Short waits for room, so that a stop is seen even when nobody reads.
        batch.remove_prefix(m_board.tryWrite(batch, 20));
    }
    return true;
}
