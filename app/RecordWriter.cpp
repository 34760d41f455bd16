#include "app/RecordWriter.h"

#include "app/RecordFile.h"
#include "runtime/Exception.h"

RecordWriter::RecordWriter(std::function<void()> failed) : m_failed(std::move(failed))
{
    m_thread = std::thread([this] { run(); });
}

RecordWriter::~RecordWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void RecordWriter::write(Target target, std::string bytes, bool sync)
{
    m_backlog += bytes.size();
    {
        const std::lock_guard lock(m_mutex);
        m_jobs.push_back({std::move(target), std::move(bytes), sync});
    }
    m_wake.notify_one();
}

void RecordWriter::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return !m_jobs.empty() || m_ending; });
        if (m_jobs.empty())
            return;
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        lock.unlock();
        perform(job);
        m_backlog -= job.bytes.size();
        // The file may close here, on this thread, if the recording has ended.
        job.target.file.reset();
        lock.lock();
    }
}

void RecordWriter::perform(Job &job)
{
    const Target &target = job.target;
    if (target.recording == m_failedRecording)
        return;
    QString reason;
    try {
        if (!job.bytes.empty())
            target.file->append(job.bytes);
        if (job.sync)
            target.file->sync();
        return;
    } catch (const Exception &error) {
        reason = error.message();
    } catch (const std::exception &error) {
        reason = QString::fromLocal8Bit(error.what());
    }
    m_failedRecording = target.recording;
    addFailure({target.recording, target.path, reason});
}

void RecordWriter::addFailure(Failure failure)
{
    {
        const std::lock_guard lock(m_mutex);
        m_failures.push_back(std::move(failure));
    }
    m_failed();
}

std::vector<RecordWriter::Failure> RecordWriter::takeFailures()
{
    const std::lock_guard lock(m_mutex);
    return std::exchange(m_failures, {});
}
