#pragma once

#include <cstdint>
#include <random>

// The six signals the simulated board measures, each with a shape of its own so that
// the traces are told apart at a glance. Shapes are functions of time in seconds, so
// they look the same at any rate.
class Waveform
{
public:
    static constexpr int channelCount = 6;
    static constexpr int maxValue = 1023;

    // rate: samples per second per channel; noise: the generator the noisy channels use.
    Waveform(int rate, std::mt19937 &noise);

    // Reading of channel (0 = ADC0 .. 5 = ADC5) at its sample number, within 0..maxValue.
    int value(int channel, std::int64_t sample);

private:
    double shape(int channel, double seconds);

    int m_rate;
    std::mt19937 &m_noise;
};
