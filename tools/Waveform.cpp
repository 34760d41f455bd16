#include "Waveform.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

double fraction(double seconds, double period)
{
    const double cycles = seconds / period;
    return cycles - std::floor(cycles);
}

double sine(double seconds, double period)
{
    return std::sin(2 * std::numbers::pi * seconds / period);
}

} // namespace

Waveform::Waveform(int rate, std::mt19937 &noise) : m_rate(rate), m_noise(noise) {}

int Waveform::value(int channel, std::int64_t sample)
{
    const double seconds = static_cast<double>(sample) / m_rate;
    return std::clamp(static_cast<int>(std::lround(shape(channel, seconds))), 0, maxValue);
}

double Waveform::shape(int channel, double seconds)
{
    const double middle = maxValue / 2.0;
    switch (channel) {
    case 0:
        return middle + 400 * sine(seconds, 2.0);
    case 1:
        return maxValue * fraction(seconds, 3.0);
    case 2:
        return fraction(seconds, 1.0) < 0.5 ? 800 : 200;
    case 3:
        return middle + std::uniform_real_distribution<double>(-200, 200)(m_noise);
    case 4:
        return maxValue * (1 - std::fabs(2 * fraction(seconds, 4.0) - 1));
    default:
        return middle + 300 * sine(seconds, 10.0) + std::uniform_real_distribution<double>(-8, 8)(m_noise);
    }
}
