#include "app/RecordStream.h"

#include "app/RecordFile.h"

#include <algorithm>

RecordStream::RecordStream(std::shared_ptr<RecordFile> file) : m_file(std::move(file)) {}

RecordStream::Amount RecordStream::queue(std::string bytes, std::size_t readings, bool sync)
{
    if (m_failed)
        return {bytes.size(), readings};
    if (!bytes.empty())
        m_buffers.push_back({std::move(bytes), readings});
    m_syncDue = m_syncDue || sync;
    return {};
}

void RecordStream::pump(Amount &written, std::optional<Clock::time_point> until)
{
    while (!m_buffers.empty()) {
        if (until && Clock::now() >= *until)
            return;
        if (!writeFront(written))
            return;
    }
    if (m_syncDue) {
        m_file->sync();
        m_syncDue = false;
    }
}

bool RecordStream::writeFront(Amount &written)
{
    Buffer &front = m_buffers.front();
    const std::string_view rest = std::string_view(front.bytes).substr(front.sent);
    const std::size_t taken = m_file->append(rest);
    // A line counts as written once its line end is; the header holds no reading.
    const auto lines = std::min(front.readings, std::size_t(std::count(rest.begin(), rest.begin() + taken, '\n')));
    front.sent += taken;
    front.readings -= lines;
    written.bytes += taken;
    written.readings += lines;
    if (front.sent == front.bytes.size())
        m_buffers.pop_front();
    // A target that took less than it was given is full for now.
    return taken == rest.size();
}

RecordStream::Amount RecordStream::dropAll()
{
    Amount dropped;
    for (const Buffer &buffer : m_buffers) {
        dropped.bytes += buffer.bytes.size() - buffer.sent;
        dropped.readings += buffer.readings;
    }
    m_buffers.clear();
    m_syncDue = false;
    m_failed = true;
    return dropped;
}

bool RecordStream::isPipe() const
{
    return m_file->readyDescriptor() >= 0;
}

int RecordStream::waitDescriptor() const
{
    return m_buffers.empty() || m_failed ? -1 : m_file->readyDescriptor();
}
