#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What the board simulator was asked to do on its command line.
struct SimulatorOptions
{
    std::string device;          // empty: open a pseudo-terminal of our own
    int rate = 50;               // readings per second per channel
    bool crlf = false;           // CR LF after each reading
    bool split = false;          // every write is cut in two, sent half a period apart
    int burst = 1;               // readings per write
    int garbagePercent = 0;      // share of readings replaced by malformed text
    std::int64_t count = 0;      // readings per channel before exiting; 0: run until stopped
    std::optional<std::uint32_t> seed;
    std::string replay;          // a recording to send instead of the waveforms; "-": stdin
    double speed = 1;            // replay pace as a multiple of the recorded one; 0: at once
    bool loop = false;           // replay again from the start at the end
    bool follow = false;         // at the end, wait for the recording to grow
    bool help = false;
};

// The options from argv, or an explanation of what is wrong with them.
struct ParsedOptions
{
    SimulatorOptions options;
    std::string error;
};

ParsedOptions parseSimulatorOptions(int argc, const char *const *argv);

// The text that --help prints.
std::string simulatorUsage(const std::string &programName);
