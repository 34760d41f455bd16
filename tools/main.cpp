// ondrix-board: plays the ADC board on a pseudo-terminal or a serial device, so that
// Ondrix shows live traces without hardware, or replays a recording that Ondrix made.
// Run with --help for the options.

#include "BoardSimulator.h"
#include "DeviceOutput.h"
#include "PseudoTerminal.h"
#include "RecordingReader.h"
#include "RecordingReplay.h"
#include "SignalStop.h"
#include "SimulatorOptions.h"

#include <ctime>
#include <iostream>
#include <memory>
#include <stdexcept>

namespace {

std::unique_ptr<BoardOutput> openOutput(const SimulatorOptions &options)
{
    if (!options.device.empty())
        return std::make_unique<DeviceOutput>(options.device);
    auto terminal = std::make_unique<PseudoTerminal>();
    // The first line of output is the path: whoever started us reads it to connect.
    std::cout << terminal->slavePath() << std::endl;
    return terminal;
}

// Refuses a file that is not a recording before any line is opened, so that whoever
// started us learns it from the exit status instead of a silent board.
int replay(const SimulatorOptions &options)
{
    // Followed, FILE may be a pattern: the replay starts with the file it names now.
    const RecordPattern pattern(options.replay);
    const std::string path = options.follow ? pattern.nameAt(std::time(nullptr)) : options.replay;
    RecordingReader recording(path);
    if (options.follow)
        recording.follow(std::make_unique<RecordingFollower>(pattern, path, std::cerr));
    const SignalStop stop;
    if (recording.readHeader(stop) == RecordingReader::Start::notARecording) {
        std::cerr << "ondrix-board: " << recording.name() << " is not a recording of Ondrix: its first line is not "
                  << RecordFormat::header;
        return 2;
    }
    if (stop.requested())
        return 0;
    const std::unique_ptr<BoardOutput> output = openOutput(options);
    RecordingReplay(options, recording, *output, stop, std::cerr).run();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const ParsedOptions parsed = parseSimulatorOptions(argc, argv);
    if (!parsed.error.empty()) {
        std::cerr << "ondrix-board: " << parsed.error << "\nTry --help.\n";
        return 2;
    }
    if (parsed.options.help) {
        std::cout << simulatorUsage(argv[0]);
        return 0;
    }
    try {
        if (!parsed.options.replay.empty())
            return replay(parsed.options);
        const SignalStop stop;
        const std::unique_ptr<BoardOutput> output = openOutput(parsed.options);
        BoardSimulator(parsed.options, *output, stop).run();
    } catch (const std::exception &error) {
        std::cerr << "ondrix-board: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
