#include "BoardSimulator.h"

#include "BoardOutput.h"
#include "SignalStop.h"

#include <algorithm>
#include <string_view>

namespace {

std::uint32_t seedFor(const SimulatorOptions &options)
{
    return options.seed ? *options.seed : std::random_device()();
}

} // namespace

BoardSimulator::BoardSimulator(const SimulatorOptions &options, BoardOutput &output, const SignalStop &stop)
    : m_options(options),
      m_output(output),
      m_stop(stop),
      m_random(seedFor(options)),
      m_cutRandom(m_random()),
      m_waveform(options.rate, m_random),
      m_composer(options.garbagePercent, options.crlf, m_random),
      // One write of `burst` readings for each of the six channels' `rate` per second.
      m_pacer(std::int64_t{1000000000} * options.burst, std::int64_t{Waveform::channelCount} * options.rate)
{
}

void BoardSimulator::run()
{
    while (!finished() && !m_stop.requested() && m_output.waitForReader(m_stop)) {
        m_pacer.restart();
        sendWhileAttached();
    }
    if (finished())
        m_output.finish(m_stop);
}

void BoardSimulator::sendWhileAttached()
{
    for (std::uint64_t step = 0; !finished(); ++step) {
        if (step > 0)
            m_stop.sleepUntil(m_pacer.deadline(2 * step));
        if (!keepGoing() || !sendStep(step))
            return;
    }
}

// Sends one write, in two parts with --split. False when the reader left or a stop came
// between the parts.
bool BoardSimulator::sendStep(std::uint64_t step)
{
    const Write write = nextWrite();
    const std::string_view text = write.text;
    if (!m_options.split) {
        m_output.send(text);
        return true;
    }
    m_output.send(text.substr(0, write.cut));
    m_stop.sleepUntil(m_pacer.deadline(2 * step + 1));
    if (!keepGoing())
        return false;
    if (write.cut < text.size())
        m_output.send(text.substr(write.cut));
    return true;
}

BoardSimulator::Write BoardSimulator::nextWrite()
{
    std::int64_t readings = m_options.burst;
    if (m_options.count > 0)
        readings = std::min(readings, m_options.count * Waveform::channelCount - m_sent);
    const auto cutReading = std::uniform_int_distribution<std::int64_t>(0, readings - 1)(m_cutRandom);
    Write write;
    for (std::int64_t index = 0; index < readings; ++index, ++m_sent) {
        const int channel = static_cast<int>(m_sent % Waveform::channelCount);
        const std::string reading = m_composer.reading(channel, m_waveform.value(channel, m_sent / Waveform::channelCount));
        if (index == cutReading)
            write.cut = write.text.size() + std::max<std::size_t>(1, reading.size() / 2);
        write.text += reading;
    }
    return write;
}

bool BoardSimulator::finished() const
{
    return m_options.count > 0 && m_sent >= m_options.count * Waveform::channelCount;
}

bool BoardSimulator::keepGoing()
{
    return !m_stop.requested() && m_output.readerAttached();
}
