#pragma once

#include "app/AcquisitionState.h"
#include "app/ReadingSink.h"

#include <cstdint>
#include <string>
#include <string_view>

// Turns the board's wire text ("512b": a number, then the channel's tag letter) into
// readings. The serial driver hands text over in whatever pieces it received, so the
// decoder works on the stream: a reading may span two deliveries and one delivery may
// hold many readings. A reading that does not convert is dropped and counted; reception
// goes on.
class ReadingDecoder
{
public:
    explicit ReadingDecoder(AcquisitionState &state);

    // Decodes one delivery; each complete reading lands in its channel's slot, multiplied.
    void decode(std::string_view text);

    // Forgets a partial reading; called when the port opens.
    void reset();

    // The channel a tag letter names, or -1 for any other character.
    static int channelOfTag(char tag);

    std::uint64_t droppedCount() const { return m_dropped; }

    // Every stored reading is also handed to sink (none by default); it must outlive
    // the decoder or be replaced first.
    void setSink(ReadingSink *sink) { m_sink = sink; }

    // Text kept without a tag letter beyond this is noise, not a reading.
    static constexpr std::size_t maxPendingLength = 64;

private:
    void decodeReading(std::string_view text, int channel);

    AcquisitionState &m_state;
    std::string m_pending;
    ReadingSink *m_sink = nullptr;
    std::uint64_t m_dropped = 0;
};
