#pragma once

#include "Pacer.h"
#include "ReadingComposer.h"
#include "SimulatorOptions.h"
#include "Waveform.h"

#include <cstdint>
#include <random>
#include <string>

class BoardOutput;
class SignalStop;

// The board's send loop: readings for ADC0..ADC5 in turn, paced to the requested rate,
// grouped into writes, sent only while a reader is attached.
class BoardSimulator
{
public:
    BoardSimulator(const SimulatorOptions &options, BoardOutput &output, const SignalStop &stop);

    // Runs until stopped, or until --count readings per channel have been sent.
    void run();

private:
    // The text of one write, and where --split cuts it.
    struct Write
    {
        std::string text;
        std::size_t cut = 0;
    };

    void sendWhileAttached();
    bool sendStep(std::uint64_t step);
    Write nextWrite();
    bool finished() const;
    bool keepGoing();

    SimulatorOptions m_options;
    BoardOutput &m_output;
    const SignalStop &m_stop;
    std::mt19937 m_random;
    // Split points come from a generator of their own, so that --split changes where
    // the text is cut and nothing else.
    std::mt19937 m_cutRandom;
    Waveform m_waveform;
    ReadingComposer m_composer;
    Pacer m_pacer;
    std::int64_t m_sent = 0;
};
