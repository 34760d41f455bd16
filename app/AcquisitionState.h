#pragma once

#include <array>
#include <cstdint>

inline constexpr int channelCount = 6;

// The bars and the left axis are scaled for 10-bit readings times the multiplier.
inline constexpr std::int32_t fullScaleReading = 1023;

// The values the decoder, the display tick and the picture saving share. One instance
// lives as long as the main window and is touched only on the GUI thread, so it has no lock.
struct AcquisitionState
{
    std::array<std::int32_t, channelCount> adcValue{}; // last reading per channel, multiplied
    std::int32_t sweepX = 0;                            // where the next chart point goes
    std::int32_t sweepIncrement = 0;                    // added to sweepX on every tick
    std::int32_t chartLength = 0;                       // sweepX past this wraps the sweep
    std::int32_t multiplier = 0;                        // applied to every decoded reading
    std::int32_t picturesLeft = 0;                      // series pictures still to write
    bool savingSeries = false;
};
