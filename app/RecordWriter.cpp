#include "app/RecordWriter.h"

#include "app/RecordFile.h"
#include "app/RecordStream.h"
#include "app/WriterWait.h"
#include "runtime/Exception.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <optional>

namespace {

using Clock = std::chrono::steady_clock;

// Past the file limit, a write already under way gets this long to end on its own before
// the thread is left behind.
constexpr std::chrono::seconds lastWriteGrace{1};

// A copy that shares no data with the original. The writer's thread never holds a reference
// to a string of another thread: Qt counts the references of shared text in its own
// library, where the race detector cannot see them.
QString ownCopy(const QString &text)
{
    return text.isNull() ? QString() : QString(text.constData(), text.size());
}

} // namespace

struct RecordWriter::Shared
{
    struct Job
    {
        std::uint64_t recording;
        std::shared_ptr<RecordFile> file;
        std::string bytes;
        std::size_t readings;
        bool sync;
    };

    // A recording's share of what is queued and not yet written.
    struct Account
    {
        QString path;
        std::size_t bytes = 0;
        std::size_t readings = 0;
    };

    explicit Shared(std::function<void()> onFailure) : failed(std::move(onFailure)) {}

    // Takes what left the queue of a recording off its account.
    void settle(std::uint64_t recording, RecordStream::Amount amount)
    {
        const std::lock_guard lock(mutex);
        Account &account = accounts[recording];
        account.bytes -= amount.bytes;
        account.readings -= amount.readings;
    }

    void forget(std::uint64_t recording)
    {
        const std::lock_guard lock(mutex);
        accounts.erase(recording);
    }

    void fail(std::uint64_t recording, const QString &reason)
    {
        const std::lock_guard lock(mutex);
        addFailureLocked({recording, ownCopy(accounts[recording].path), reason});
    }

    void addFailureLocked(Failure failure)
    {
        failures.push_back(std::move(failure));
        // Once finish() has left the thread behind, nobody is there to be told.
        if (!leftBehind)
            failed();
    }

    const std::function<void()> failed;
    WriterWait wait;
    mutable std::mutex mutex;
    std::condition_variable ended;
    std::deque<Job> jobs;                         // guarded by mutex
    std::map<std::uint64_t, Account> accounts;    // guarded by mutex
    std::vector<Failure> failures;                // guarded by mutex
    std::optional<Clock::time_point> endingSince; // guarded by mutex: finish() has begun
    bool done = false;                            // guarded by mutex
    bool leftBehind = false;                      // guarded by mutex
};

// The writer thread: a stream for each recording with something queued.
struct RecordWriter::Loop
{
    void run()
    {
        for (;;) {
            const std::optional<Clock::time_point> ending = takeJobs();
            std::vector<int> waitOn;
            std::optional<Clock::time_point> until;
            for (auto it = streams.begin(); it != streams.end();) {
                auto &[recording, stream] = *it;
                std::optional<Clock::time_point> limit;
                if (ending)
                    limit = *ending + (stream.isPipe() ? pipeLimit : fileLimit);
                pump(recording, stream, limit);
                if (isOver(recording, stream, limit)) {
                    it = streams.erase(it); // closes the file here, once its recording let go
                    continue;
                }
                if (stream.waitDescriptor() >= 0)
                    waitOn.push_back(stream.waitDescriptor());
                if (limit && (!until || *limit < *until))
                    until = limit;
                ++it;
            }
            if (ending && streams.empty())
                return;
            shared->wait.wait(waitOn, until);
        }
    }

    // Moves the queued jobs into their streams; tells since when finish() waits, if it does.
    std::optional<Clock::time_point> takeJobs()
    {
        std::deque<Shared::Job> jobs;
        std::optional<Clock::time_point> ending;
        {
            const std::lock_guard lock(shared->mutex);
            jobs.swap(shared->jobs);
            ending = shared->endingSince;
        }
        for (Shared::Job &job : jobs) {
            RecordStream &stream = streams.try_emplace(job.recording, job.file).first->second;
            const RecordStream::Amount dropped = stream.queue(std::move(job.bytes), job.readings, job.sync);
            if (dropped.bytes > 0)
                shared->settle(job.recording, dropped);
        }
        return ending;
    }

    void pump(std::uint64_t recording, RecordStream &stream, std::optional<Clock::time_point> until)
    {
        RecordStream::Amount moved;
        QString reason;
        try {
            stream.pump(moved, until);
        } catch (const Exception &error) {
            reason = error.message();
        } catch (const std::exception &error) {
            reason = QString::fromLocal8Bit(error.what());
        }
        if (!reason.isNull()) {
            shared->fail(recording, reason);
            const RecordStream::Amount dropped = stream.dropAll();
            moved.bytes += dropped.bytes;
            moved.readings += dropped.readings;
        }
        shared->settle(recording, moved);
    }

    // A stream is over once all is written and its recording has let go of the file (the
    // stream holds the last reference), or everything is written at the end; or when the
    // end's wait for it has passed its limit: its account then keeps what was not written.
    bool isOver(std::uint64_t recording, const RecordStream &stream, std::optional<Clock::time_point> limit)
    {
        if (stream.drained() && (limit || stream.file().use_count() == 1)) {
            shared->forget(recording);
            return true;
        }
        return limit && Clock::now() >= *limit;
    }

    std::shared_ptr<Shared> shared;
    std::map<std::uint64_t, RecordStream> streams;
};

RecordWriter::RecordWriter(std::function<void()> failed) : m_shared(std::make_shared<Shared>(std::move(failed)))
{
    m_thread = std::thread([shared = m_shared] {
        Loop{shared, {}}.run();
        const std::lock_guard lock(shared->mutex);
        shared->done = true;
        shared->ended.notify_all();
    });
}

RecordWriter::~RecordWriter()
{
    if (m_thread.joinable())
        finish();
}

void RecordWriter::write(Target target, std::string bytes, std::size_t readings, bool sync)
{
    {
        const std::lock_guard lock(m_shared->mutex);
        Shared::Account &account = m_shared->accounts[target.recording];
        if (account.path.isNull())
            account.path = ownCopy(target.path);
        account.bytes += bytes.size();
        account.readings += readings;
        m_shared->jobs.push_back({target.recording, std::move(target.file), std::move(bytes), readings, sync});
    }
    m_shared->wait.wake();
}

std::size_t RecordWriter::backlog(std::uint64_t recording) const
{
    const std::lock_guard lock(m_shared->mutex);
    const auto account = m_shared->accounts.find(recording);
    return account == m_shared->accounts.end() ? 0 : account->second.bytes;
}

std::vector<RecordWriter::Unwritten> RecordWriter::finish()
{
    std::unique_lock lock(m_shared->mutex);
    const Clock::time_point since = Clock::now();
    m_shared->endingSince = since;
    m_shared->wait.wake();
    const bool ended =
        m_shared->ended.wait_until(lock, since + fileLimit + lastWriteGrace, [this] { return m_shared->done; });
    // A thread stuck in a write to a disc that hangs cannot be stopped; it may finish
    // on its own while the program ends, with what it uses shared.
    m_shared->leftBehind = !ended;
    std::vector<Unwritten> unwritten;
    for (const auto &[recording, account] : m_shared->accounts) {
        if (account.readings > 0)
            unwritten.push_back({ownCopy(account.path), account.readings});
    }
    lock.unlock();
    if (ended)
        m_thread.join();
    else
        m_thread.detach();
    return unwritten;
}

void RecordWriter::addFailure(Failure failure)
{
    const std::lock_guard lock(m_shared->mutex);
    m_shared->addFailureLocked(std::move(failure));
}

std::vector<RecordWriter::Failure> RecordWriter::takeFailures()
{
    const std::lock_guard lock(m_shared->mutex);
    return std::exchange(m_shared->failures, {});
}
