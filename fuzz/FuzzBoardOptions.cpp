// Feeds argument vectors, the pieces of the input between NULs, to the board simulator's
// command line. What is taken lies within the ranges --help gives, the replay's options go
// only with a recording to replay, and a followed recording's pattern expands to one name
// for each time.

#include "fuzz/FuzzArguments.h"
#include "tools/SimulatorOptions.h"

namespace {

void checkTaken(const SimulatorOptions &o)
{
    if (o.rate < 1 || o.rate > 1000000 || o.burst < 1 || o.burst > 10000 || o.garbagePercent < 0
        || o.garbagePercent > 100 || o.count < 0 || !(o.speed >= 0 && o.speed <= 1000000))
        std::abort();
    const bool replaying = !o.replay.empty();
    if (!replaying && (o.loop || o.follow || o.speed != 1))
        std::abort();
    if ((o.loop || o.follow) && o.replay == "-")
        std::abort();
    if (o.follow && o.loop)
        std::abort();
    if (replaying && (o.rate != 50 || o.burst != 1 || o.garbagePercent != 0 || o.count != 0 || o.seed || o.split))
        std::abort();
    if (o.follow)
        checkPattern(o.replay);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::vector<std::string> arguments = argumentsIn(data, size, "ondrix-board");
    std::vector<const char *> argv;
    for (const std::string &argument : arguments)
        argv.push_back(argument.c_str());
    argv.push_back(nullptr);
    const ParsedOptions parsed = parseSimulatorOptions(int(arguments.size()), argv.data());
    if (parsed.error.empty() && !parsed.options.help)
        checkTaken(parsed.options);
    return 0;
}
