#pragma once

#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class RecordFile;

// The thread that puts recordings on the disc or into pipes, so that a slow disc or a
// lagging reader never holds up the GUI thread, and a pipe whose reader lags never holds
// up another recording: it keeps what the pipe does not take and writes the others
// meanwhile. Each recording's buffers are written in the order they are queued; a file
// closes on this thread once its last buffer is written and its recording has let go.
class RecordWriter
{
public:
    struct Failure
    {
        std::uint64_t recording;
        QString path;
        QString reason; // the system's
    };

    // What a buffer belongs to: recordings are numbered from 1.
    struct Target
    {
        std::uint64_t recording;
        QString path;
        std::shared_ptr<RecordFile> file;
    };

    // A recording whose readings were still queued when finish() stopped waiting.
    struct Unwritten
    {
        QString path;
        std::size_t readings;
    };

    // How long finish() waits for a pipe, and for a file on a disc.
    static constexpr std::chrono::seconds pipeLimit{2};
    static constexpr std::chrono::seconds fileLimit{10};

    // failed is called whenever a failure is added, on the thread that adds it; it must
    // not block. The first write or sync of a recording that fails adds one, and the
    // recording's later buffers are dropped.
    explicit RecordWriter(std::function<void()> failed);
    // finish(), unless it has run.
    ~RecordWriter();
    RecordWriter(const RecordWriter &) = delete;
    RecordWriter &operator=(const RecordWriter &) = delete;

    // Queues bytes for a recording's file, followed by an fsync when sync is set;
    // readings is the number of reading lines among them. Returns at once.
    void write(Target target, std::string bytes, std::size_t readings, bool sync);

    // A recording's bytes queued and not yet written.
    std::size_t backlog(std::uint64_t recording) const;

    // Writes everything queued, waiting for each target at most its limit from now, and
    // ends the thread. A thread stuck in the system beyond that is left behind. Returns
    // the recordings left with readings unwritten.
    std::vector<Unwritten> finish();

    // Any thread.
    void addFailure(Failure failure);
    // The failures added since the last call, oldest first.
    std::vector<Failure> takeFailures();

private:
    // Everything the thread uses: shared with it, so that a thread left behind never
    // outlives what it uses.
    struct Shared;
    struct Loop;

    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
};
