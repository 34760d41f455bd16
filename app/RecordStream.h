#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>

class RecordFile;

// One recording's bytes on the writer thread: the buffers queued for its target and not
// yet taken, oldest first, and a sync to follow them. A pipe whose reader lags takes
// part of a buffer; the rest waits here for the next turn, and nothing else waits for it.
class RecordStream
{
public:
    using Clock = std::chrono::steady_clock;

    // What a call moved out of the queue: written, or dropped after a failure.
    struct Amount
    {
        std::size_t bytes = 0;
        std::size_t readings = 0;
    };

    explicit RecordStream(std::shared_ptr<RecordFile> file);

    // Queues bytes holding that many reading lines. After a failure they are dropped at
    // once, and so returned.
    Amount queue(std::string bytes, std::size_t readings, bool sync);

    // Writes what the target takes now, oldest first, then the sync once all is written,
    // adding what went to written; starts no buffer after until. Raises what the file
    // raises, with written holding what went before.
    void pump(Amount &written, std::optional<Clock::time_point> until);

    // After a failure, or when the wait for the target is given up: what is queued is
    // dropped and returned, and whatever comes later is dropped too.
    Amount dropAll();

    // Nothing queued, no sync due.
    bool drained() const { return m_buffers.empty() && !m_syncDue; }
    bool failed() const { return m_failed; }

    // True for a target that may take less than it is given (a pipe, socket, terminal).
    bool isPipe() const;
    // The descriptor to wait on while a pipe holds back bytes; -1 when nothing waits.
    int waitDescriptor() const;

    // The file, for telling whether its recording has let go of it.
    const std::shared_ptr<RecordFile> &file() const { return m_file; }

private:
    struct Buffer
    {
        std::string bytes;
        std::size_t readings; // reading lines not yet wholly written
        std::size_t sent = 0;
    };

    bool writeFront(Amount &written);

    std::shared_ptr<RecordFile> m_file;
    std::deque<Buffer> m_buffers;
    bool m_syncDue = false;
    bool m_failed = false;
};
