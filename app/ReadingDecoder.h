#pragma once

#include "app/AcquisitionState.h"
#include "app/ReadingSink.h"

#include <cstdint>
#include <string>
#include <string_view>

// Turns the board's wire text ("512b": a number, then the channel's tag letter) into
// readings. The serial driver hands text over in whatever pieces it received, so the
// decoder works on the stream: a reading may span two deliveries and one delivery may
// hold many readings. A line end also ends a reading, so a line without a tag letter
// cannot swallow the reading on the next line; so does a stray character, one that no
// number can hold at that place ("512B300c" still gives 300 on ADC1). A reading that does
// not convert, and text that ends at a line end without a tag letter, is dropped and
// counted; the text up to one tag letter or line end counts at most once, however many
// stray characters cut it. Reception goes on.
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
    static bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

    std::uint64_t droppedCount() const { return m_dropped; }
    std::uint64_t decodedCount() const { return m_decoded; }

    // Every stored reading is also handed to sink (none by default); it must outlive
    // the decoder or be replaced first.
    void setSink(ReadingSink *sink) { m_sink = sink; }

    // Text kept without a tag letter beyond this is noise, not a reading: it is dropped
    // together with whatever follows it up to the next tag letter, line end or stray
    // character.
    static constexpr std::size_t maxPendingLength = 64;

private:
    // How far the reading under way has come, which decides what may follow.
    enum class Part {
        blanks,    // nothing but blanks yet
        number,    // a sign or decimal digits have begun
        hexNumber, // a hexadecimal prefix has come: "A" to "F" are digits now
        separated, // a space ended the number; anything up to the tag letter is ignored
    };

    bool takes(char c);
    void endReading(std::string_view piece, int channel);
    void dropStray();
    void countDropped();
    void forgetReading();
    void keep(std::string_view rest);
    bool decodeReading(std::string_view text, int channel);

    AcquisitionState &m_state;
    std::string m_pending;
    ReadingSink *m_sink = nullptr;
    std::uint64_t m_dropped = 0;
    std::uint64_t m_decoded = 0;
    Part m_part = Part::blanks;
    bool m_overflowed = false;     // the kept text outgrew the bound and was let go
    bool m_stretchDropped = false; // a drop is counted since the last tag letter or line end
};
