#include "RecordingReplay.h"

#include "BoardOutput.h"
#include "ReadingComposer.h"
#include "RecordingReader.h"
#include "SignalStop.h"

#include <algorithm>
#include <cmath>
#include <ostream>

namespace {

// A delivery of more readings than this goes out in several writes, so that a file of
// readings that all share one time cannot fill the memory.
constexpr int maxReadingsPerWrite = 4096;

} // namespace

RecordingReplay::RecordingReplay(const SimulatorOptions &options, RecordingReader &recording, BoardOutput &output,
                                 const SignalStop &stop, std::ostream &messages)
    : m_options(options), m_recording(recording), m_output(output), m_stop(stop), m_messages(messages)
{
}

void RecordingReplay::run()
{
    if (!m_output.waitForReader(m_stop))
        return;
    for (bool again = true; again && !m_stop.requested();) {
        const std::int64_t sent = replayOnce();
        if (m_stop.requested())
            return;
        if (sent == 0) {
            m_messages << "ondrix-board: " << m_recording.name() << " holds no readings: nothing to replay" << std::endl;
            break;
        }
        again = m_options.loop && m_recording.rewind(m_stop);
        m_messages << "ondrix-board: replayed " << sent << " readings from " << m_recording.name()
                   << (again ? "; again from the start" : "; idle until stopped") << std::endl;
    }
    m_stop.waitForStop();
}

// One pass through the file; returns how many readings went out.
std::int64_t RecordingReplay::replayOnce()
{
    std::int64_t sent = 0;
    m_next = m_recording.next(m_stop, m_messages);
    if (m_next) {
        m_firstTime = m_next->microseconds;
        m_pacer.restart();
    }
    while (m_next && !m_stop.requested()) {
        const std::int64_t time = m_next->microseconds;
        m_text.clear();
        int readings = 0;
        for (; m_next && m_next->microseconds == time && readings < maxReadingsPerWrite; ++readings) {
            ReadingComposer::appendReading(m_text, m_next->channel, m_next->value, m_options.crlf);
            // A followed recording with nothing more yet ends the delivery here: it goes
            // out now, not once the next line has come.
            m_next = m_recording.next(m_stop, m_messages, RecordingReader::Wait::no);
        }
        if (!sendDelivery(time))
            break;
        sent += readings;
        if (!m_next && m_options.follow)
            waitForMore();
    }
    return sent;
}

// Lines that come after a wait for the file to grow are late already: the first goes out
// at once, and the recorded pace goes on from it.
void RecordingReplay::waitForMore()
{
    const std::uint64_t waits = m_recording.waits();
    m_next = m_recording.next(m_stop, m_messages);
    if (m_next && m_recording.waits() != waits)
        m_pacer.restart(offset(m_next->microseconds));
}

// Sends the delivery recorded at the given time when it is due; false on a stop. A reader
// that leaves halfway lost the text on its line: the next one gets the delivery whole, and
// the recorded pace resumes from it.
bool RecordingReplay::sendDelivery(std::int64_t microseconds)
{
    if (m_options.speed > 0)
        m_stop.sleepUntil(m_pacer.deadlineAfter(offset(microseconds)));
    while (!m_stop.requested()) {
        if (m_output.sendAll(m_text, m_stop))
            return true;
        if (!m_output.waitForReader(m_stop))
            return false;
        m_pacer.restart(offset(microseconds));
    }
    return false;
}

// Nanoseconds from the first reading's time to the given one, at the chosen speed.
std::int64_t RecordingReplay::offset(std::int64_t microseconds) const
{
    if (m_options.speed == 0)
        return 0;
    // Capped a century ahead: enough for any recording, and within 64 bits.
    constexpr double century = 3.2e18;
    return std::llround(std::min((static_cast<double>(microseconds) - static_cast<double>(m_firstTime)) * 1000.0 / m_options.speed, century));
}
