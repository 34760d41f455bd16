#include "SimulatorOptions.h"

#include <charconv>
#include <string_view>

namespace {

// A whole decimal number within [low, high], or nothing.
std::optional<std::int64_t> parseNumber(std::string_view text, std::int64_t low, std::int64_t high)
{
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

struct NumberOption
{
    std::string_view name;
    std::int64_t low;
    std::int64_t high;
    void (*store)(SimulatorOptions &, std::int64_t);
};

constexpr NumberOption numberOptions[] = {
    {"--rate", 1, 1000000, [](SimulatorOptions &o, std::int64_t v) { o.rate = static_cast<int>(v); }},
    {"--burst", 1, 10000, [](SimulatorOptions &o, std::int64_t v) { o.burst = static_cast<int>(v); }},
    {"--garbage", 0, 100, [](SimulatorOptions &o, std::int64_t v) { o.garbagePercent = static_cast<int>(v); }},
    {"--count", 1, INT64_MAX / 64, [](SimulatorOptions &o, std::int64_t v) { o.count = v; }},
    {"--seed", 0, UINT32_MAX, [](SimulatorOptions &o, std::int64_t v) { o.seed = static_cast<std::uint32_t>(v); }},
};

const NumberOption *findNumberOption(std::string_view name)
{
    for (const NumberOption &option : numberOptions) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

// A decimal fraction within [0, high], or nothing.
std::optional<double> parseFactor(std::string_view text, double high)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || !(value >= 0 && value <= high))
        return std::nullopt;
    return value;
}

constexpr double maxSpeed = 1000000;

// Handles an option that takes a text, at argv[index] with its value after it.
std::string parseText(SimulatorOptions &options, std::string_view name, std::string_view value)
{
    if (name == "--speed") {
        const auto speed = parseFactor(value, maxSpeed);
        if (!speed)
            return "--speed takes a number from 0 to 1000000, like 0.5 or 2, not '" + std::string(value) + "'";
        options.speed = *speed;
        return {};
    }
    std::string &target = name == "--device" ? options.device : options.replay;
    target = value;
    return target.empty() ? std::string(name) + " needs a path" : std::string();
}

// The options that shape the generated readings, which a replay does not generate.
bool isWaveformOption(std::string_view name)
{
    return findNumberOption(name) || name == "--split";
}

bool isTextOption(std::string_view name)
{
    return name == "--device" || name == "--replay" || name == "--speed";
}

// Handles one option at argv[index]; advances index past its value. Returns an error text.
std::string parseOne(SimulatorOptions &options, int argc, const char *const *argv, int &index)
{
    const std::string_view name = argv[index];
    if (name == "--help" || name == "-h") {
        options.help = true;
        return {};
    }
    if (name == "--crlf" || name == "--split" || name == "--loop" || name == "--follow") {
        (name == "--crlf"    ? options.crlf
         : name == "--split" ? options.split
         : name == "--loop"  ? options.loop
                             : options.follow) = true;
        return {};
    }
    const NumberOption *number = findNumberOption(name);
    if (!number && !isTextOption(name))
        return "unknown option " + std::string(name);
    if (index + 1 >= argc)
        return std::string(name) + " needs a value";
    const std::string_view value = argv[++index];
    if (!number)
        return parseText(options, name, value);
    const auto parsed = parseNumber(value, number->low, number->high);
    if (!parsed) {
        return std::string(name) + " takes a whole number from " + std::to_string(number->low) + " to "
               + std::to_string(number->high) + ", not '" + std::string(value) + "'";
    }
    number->store(options, *parsed);
    return {};
}

// What the options together cannot do.
std::string checkCombination(const SimulatorOptions &options, bool waveformOptionGiven)
{
    if (options.replay.empty() && (options.loop || options.follow || options.speed != 1))
        return "--speed, --loop and --follow go with --replay";
    if (options.follow && (options.loop || options.replay == "-"))
        return "--follow waits for a file to grow: not with --loop, nor with standard input";
    if (!options.replay.empty() && waveformOptionGiven)
        return "--replay sends the recording's readings: --rate, --burst, --garbage, --count, --seed and --split do not apply";
    if (options.replay == "-" && options.loop)
        return "--loop cannot start standard input again: give a file";
    return {};
}

} // namespace

ParsedOptions parseSimulatorOptions(int argc, const char *const *argv)
{
    ParsedOptions result;
    bool waveformOptionGiven = false;
    for (int index = 1; index < argc && result.error.empty(); ++index) {
        waveformOptionGiven = waveformOptionGiven || isWaveformOption(argv[index]);
        result.error = parseOne(result.options, argc, argv, index);
    }
    if (result.error.empty())
        result.error = checkCombination(result.options, waveformOptionGiven);
    return result;
}

std::string simulatorUsage(const std::string &programName)
{
    return "Usage: " + programName + " [options]\n"
        "Plays an ADC board: sends readings for the six channels as the board does,\n"
        "a decimal number followed by the channel's tag letter (\"512b\"; b..f = ADC0..ADC4,\n"
        "a = ADC5), with no separator unless --crlf is given.\n"
        "\n"
        "Without --device it opens a pseudo-terminal and prints the path of its slave side\n"
        "as the first line of its output; point the program at that path. Readings are sent\n"
        "only while some program holds the slave side open; until then the simulator waits.\n"
        "\n"
        "Channels: ADC0 sine (2 s), ADC1 ramp (3 s), ADC2 square (1 s), ADC3 noise,\n"
        "ADC4 triangle (4 s), ADC5 slow sine (10 s); values 0..1023.\n"
        "\n"
        "Options:\n"
        "  --device PATH  write to this device (a serial port, say) instead of a pseudo-terminal\n"
        "  --rate N       readings per second per channel (default 50)\n"
        "  --crlf         send CR LF after each reading\n"
        "  --split        cut every write in two, the second part half a period later\n"
        "  --burst K      K readings per write, at the same rate (default 1)\n"
        "  --garbage P    replace P percent of the readings by malformed ones\n"
        "                 (\"12x4d\", a lone tag, an overlong number, an upper-case tag, no tag)\n"
        "  --count N      send N readings per channel, then exit once the reader has closed\n"
        "                 the pseudo-terminal (what it has not read yet would be lost)\n"
        "  --seed S       seed of the noise and of the garbage, for a reproducible stream\n"
        "  --replay FILE  send the readings of a recording that Ondrix made (--record)\n"
        "                 instead of the waveforms, at the recorded pace; FILE - is\n"
        "                 standard input. At the end it stays open and idle.\n"
        "  --speed X      replay X times as fast as recorded (default 1; 0.5 is half as\n"
        "                 fast; 0 sends as fast as the reader takes them)\n"
        "  --loop         replay the file again from its start whenever it ends\n"
        "  --follow       at the end of FILE, wait for the recorder to add lines and send\n"
        "                 them as they come, a second behind; a file cut short is replayed\n"
        "                 from its start. FILE may be the recorder's pattern\n"
        "                 (ondrix-record --record): then the replay goes on into the file\n"
        "                 the pattern names now when the recorder starts it, in the same\n"
        "                 folder\n"
        "  --help         this text\n"
        "\n"
        "Exit status: 0 when stopped by SIGINT or SIGTERM or after --count, 1 when the\n"
        "terminal, the device or the recording fails, 2 for wrong options or a --replay\n"
        "file that is not a recording.\n";
}
