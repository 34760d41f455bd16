#pragma once

#include <cstdint>

// Told of every reading the decoder stores, in the order they were decoded, with the
// value as it goes into the acquisition state.
class ReadingSink
{
public:
    virtual void take(int channel, std::int32_t value) = 0;

protected:
    ~ReadingSink() = default;
};
