#pragma once

#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class RecordFile;

// The thread that puts recordings on the disc, so that a slow or stuck disc never
// holds up the GUI thread. Buffers are written in the order they are queued; a file
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

    // failed is called whenever a failure is added, on the thread that adds it; it must
    // not block. The first write or sync of a recording that fails adds one, and the
    // recording's later buffers are dropped.
    explicit RecordWriter(std::function<void()> failed);
    // Writes everything queued, then ends the thread.
    ~RecordWriter();
    RecordWriter(const RecordWriter &) = delete;
    RecordWriter &operator=(const RecordWriter &) = delete;

    // What a buffer belongs to: recordings are numbered from 1.
    struct Target
    {
        std::uint64_t recording;
        QString path;
        std::shared_ptr<RecordFile> file;
    };

    // Queues bytes for a recording's file, followed by an fsync when sync is set.
    // Returns at once.
    void write(Target target, std::string bytes, bool sync);

    // Bytes queued and not yet written.
    std::size_t backlog() const { return m_backlog; }

    // Any thread.
    void addFailure(Failure failure);
    // The failures added since the last call, oldest first.
    std::vector<Failure> takeFailures();

private:
    struct Job
    {
        Target target;
        std::string bytes;
        bool sync;
    };

    void run();
    void perform(Job &job);

    std::function<void()> m_failed;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;           // guarded by m_mutex
    bool m_ending = false;            // guarded by m_mutex
    std::vector<Failure> m_failures;  // guarded by m_mutex
    std::atomic<std::size_t> m_backlog{0};
    std::uint64_t m_failedRecording = 0; // writer thread only
    std::thread m_thread;
};
