#pragma once

#include "Pacer.h"
#include "SimulatorOptions.h"
#include "app/RecordFormat.h"

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

class BoardOutput;
class RecordingReader;
class SignalStop;

// The board replaying a recording: each reading goes out as the board sends it, the
// readings of one recorded delivery in one write, at the recorded pace.
class RecordingReplay
{
public:
    RecordingReplay(const SimulatorOptions &options, RecordingReader &recording, BoardOutput &output,
                    const SignalStop &stop, std::ostream &messages);

    // Replays, again with --loop, then stays open and idle until stopped.
    void run();

private:
    std::int64_t replayOnce();
    void waitForMore();
    bool sendDelivery(std::int64_t microseconds);
    std::int64_t offset(std::int64_t microseconds) const;

    const SimulatorOptions &m_options;
    RecordingReader &m_recording;
    BoardOutput &m_output;
    const SignalStop &m_stop;
    std::ostream &m_messages;
    Pacer m_pacer;
    std::optional<RecordFormat::Line> m_next; // read ahead: it ends the delivery before it
    std::int64_t m_firstTime = 0;
    std::string m_text;
};
