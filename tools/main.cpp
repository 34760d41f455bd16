// ondrix-board: plays the ADC board on a pseudo-terminal or a serial device, so that
// Ondrix shows live traces without hardware. Run with --help for the options.

#include "BoardSimulator.h"
#include "DeviceOutput.h"
#include "PseudoTerminal.h"
#include "SignalStop.h"
#include "SimulatorOptions.h"

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
        const SignalStop stop;
        const std::unique_ptr<BoardOutput> output = openOutput(parsed.options);
        BoardSimulator(parsed.options, *output, stop).run();
    } catch (const std::exception &error) {
        std::cerr << "ondrix-board: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
