#include "app/ReadingDecoder.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

using namespace std::string_view_literals;

class ReadingDecoderTest : public testing::Test
{
protected:
    ReadingDecoderTest() { state.multiplier = 1; }

    // Sentinel in every slot, so a write to the wrong slot shows.
    void markAllSlots(std::int32_t value) { state.adcValue.fill(value); }

    AcquisitionState state;
    ReadingDecoder decoder{state};
};

TEST_F(ReadingDecoderTest, eachTagLetterWritesItsOwnSlot)
{
    const std::pair<std::string_view, int> rows[] = {
        {"10a", 5}, {"11b", 0}, {"12c", 1}, {"13d", 2}, {"14e", 3}, {"15f", 4},
    };
    for (const auto &[chunk, slot] : rows) {
        markAllSlots(-1);
        decoder.decode(chunk);
        for (int ch = 0; ch < channelCount; ++ch)
            EXPECT_EQ(state.adcValue[ch], ch == slot ? std::stoi(std::string(chunk)) : -1) << chunk;
    }
}

TEST_F(ReadingDecoderTest, upperCaseLettersAreNoTags)
{
    markAllSlots(-1);
    decoder.decode("512B");
    decoder.decode("512A");
    EXPECT_EQ(state.adcValue, (std::array<std::int32_t, 6>{-1, -1, -1, -1, -1, -1}));
}

TEST_F(ReadingDecoderTest, singleReadingsOfTheWireFormat)
{
    decoder.decode("1023a");
    EXPECT_EQ(state.adcValue[5], 1023);
    decoder.decode("0f");
    EXPECT_EQ(state.adcValue[4], 0);
    decoder.decode("-7c");
    EXPECT_EQ(state.adcValue[1], -7);
    decoder.decode("$3FFb");
    EXPECT_EQ(state.adcValue[0], 1023);
    EXPECT_EQ(decoder.droppedCount(), 0u);
}

TEST_F(ReadingDecoderTest, aReadingSplitAcrossDeliveriesIsJoined)
{
    decoder.decode("51");
    EXPECT_EQ(state.adcValue[0], 0);
    decoder.decode("2b");
    EXPECT_EQ(state.adcValue[0], 512);
    decoder.decode("3");
    decoder.decode("0");
    decoder.decode("0c1");
    decoder.decode("7d");
    EXPECT_EQ(state.adcValue[1], 300);
    EXPECT_EQ(state.adcValue[2], 17);
}

TEST_F(ReadingDecoderTest, everyReadingOfADeliveryGoesToItsOwnSlotInOrder)
{
    decoder.decode("300c512b");
    EXPECT_EQ(state.adcValue[1], 300);
    EXPECT_EQ(state.adcValue[0], 512);
    decoder.decode("1b2b3b");
    EXPECT_EQ(state.adcValue[0], 3) << "the last reading of a channel wins";
}

TEST_F(ReadingDecoderTest, blanksAndLineEndsBeforeANumberAreSkipped)
{
    decoder.decode("\r\n512b");
    EXPECT_EQ(state.adcValue[0], 512);
    decoder.decode(" 600c");
    EXPECT_EQ(state.adcValue[1], 600);
    decoder.decode("\t70d\r\n80e\r\n");
    EXPECT_EQ(state.adcValue[2], 70);
    EXPECT_EQ(state.adcValue[3], 80);
    decoder.decode("90f");
    EXPECT_EQ(state.adcValue[4], 90) << "a line end kept from the last delivery is skipped too";
    EXPECT_EQ(decoder.droppedCount(), 0u);
}

TEST_F(ReadingDecoderTest, theNumberEndsAtItsFirstSpace)
{
    decoder.decode("512 b");
    EXPECT_EQ(state.adcValue[0], 512);
    decoder.decode("7 xyz! c");
    EXPECT_EQ(state.adcValue[1], 7);
}

TEST_F(ReadingDecoderTest, badReadingsAreDroppedCountedAndDoNotStopTheStream)
{
    markAllSlots(5);
    const std::pair<std::string_view, int> badChunks[] = {
        {"b", 0}, {"12x4d", 2}, {"2147483648b", 0}, {"1\t2c", 1}, {" \r\ne", 3},
    };
    for (const auto &[chunk, slot] : badChunks) {
        decoder.decode(chunk);
        EXPECT_EQ(state.adcValue[slot], 5) << chunk << " must leave its slot alone";
    }
    EXPECT_EQ(decoder.droppedCount(), 5u);
    decoder.decode("12x4d42d");
    EXPECT_EQ(state.adcValue[2], 42) << "the reading after a bad one is decoded";
    EXPECT_EQ(decoder.droppedCount(), 6u);
}

TEST_F(ReadingDecoderTest, keptTextIsBounded)
{
    decoder.decode(std::string(ReadingDecoder::maxPendingLength, '9'));
    decoder.decode("1b");
    EXPECT_EQ(decoder.droppedCount(), 1u) << "64 kept characters are still joined";

    markAllSlots(5);
    decoder.decode(std::string(ReadingDecoder::maxPendingLength + 1, '9'));
    decoder.decode("7b");
    EXPECT_EQ(state.adcValue[0], 5) << "the tail of an overlong run is no reading of its own";
    EXPECT_EQ(decoder.droppedCount(), 2u) << "the run and the text it ran into are one bad reading";
    decoder.decode("8b");
    EXPECT_EQ(state.adcValue[0], 8) << "the next reading is decoded again";
}

TEST_F(ReadingDecoderTest, aLineEndEndsAReadingWithoutATag)
{
    markAllSlots(5);
    decoder.decode("512B\r\n300c\r\n");
    EXPECT_EQ(state.adcValue[1], 300) << "an untagged line does not swallow the next one";
    EXPECT_EQ(decoder.droppedCount(), 1u);
    decoder.decode("1\r2d");
    EXPECT_EQ(state.adcValue[2], 2);
    EXPECT_EQ(decoder.droppedCount(), 2u);
    decoder.decode("\r\n \r\n\t\n");
    EXPECT_EQ(decoder.droppedCount(), 2u) << "blank lines are no readings";
    decoder.decode(std::string(3 * ReadingDecoder::maxPendingLength, '9') + "\r\n4e");
    EXPECT_EQ(state.adcValue[3], 4) << "a line end also ends an overlong run";
    EXPECT_EQ(decoder.droppedCount(), 3u);
    EXPECT_EQ(decoder.decodedCount(), 3u);
}

TEST_F(ReadingDecoderTest, aStrayCharacterEndsTheTextInFrontButNotTheNextReading)
{
    constexpr std::int32_t untouched = -1;
    struct Row
    {
        const char *what;
        std::vector<std::string_view> deliveries;
        std::array<std::int32_t, channelCount> slots;
        std::uint64_t dropped;
    };
    const Row rows[] = {
        {"an upper-case letter, the next reading in the next delivery", {"512B", "300c"},
         {untouched, 300, untouched, untouched, untouched, untouched}, 1},
        {"an upper-case letter between two readings", {"512bB300c"},
         {512, 300, untouched, untouched, untouched, untouched}, 1},
        {"hexadecimal digits after a prefix are no strays", {"$3FFb", "0x1Fc", "-X1d"},
         {1023, 31, -1, untouched, untouched, untouched}, 0},
        {"a run of strays and the tag after it are one dropped reading", {"\x1b[0m\x01", "\xff", "e"},
         {untouched, untouched, untouched, untouched, untouched, untouched}, 1},
        {"a stray split across deliveries", {"9", "9", "Z", "4", "2f"},
         {untouched, untouched, untouched, untouched, 42, untouched}, 1},
        {"punctuation is a stray: a decimal point ends the text in front", {"5.3b"},
         {3, untouched, untouched, untouched, untouched, untouched}, 1},
        {"after the separator nothing is a stray", {"6 B9a"},
         {untouched, untouched, untouched, untouched, untouched, 6}, 0},
    };
    for (const Row &row : rows) {
        AcquisitionState fresh;
        fresh.multiplier = 1;
        fresh.adcValue.fill(untouched);
        ReadingDecoder rowDecoder(fresh);
        for (std::string_view delivery : row.deliveries)
            rowDecoder.decode(delivery);
        EXPECT_EQ(fresh.adcValue, row.slots) << row.what;
        EXPECT_EQ(rowDecoder.droppedCount(), row.dropped) << row.what;
    }
}

TEST_F(ReadingDecoderTest, resetForgetsAPartialReading)
{
    decoder.decode("51");
    decoder.reset();
    decoder.decode("2b");
    EXPECT_EQ(state.adcValue[0], 2);
}

TEST_F(ReadingDecoderTest, theMultiplierIsAppliedAtDecodeTimeAndWrapsIn32Bits)
{
    state.multiplier = 5;
    decoder.decode("200d");
    EXPECT_EQ(state.adcValue[2], 1000);
    state.multiplier = 7;
    EXPECT_EQ(state.adcValue[2], 1000) << "a stored reading keeps the old multiplier";

    state.multiplier = 3;
    decoder.decode("-2147483648b");
    EXPECT_EQ(state.adcValue[0], INT32_MIN) << "-2^31 * 3 wraps to -2^31";
    state.multiplier = 100000;
    decoder.decode("2147483647c");
    EXPECT_EQ(state.adcValue[1], std::int32_t(std::uint32_t(2147483647) * 100000u));
}

TEST_F(ReadingDecoderTest, aNulInsideANumberEndsIt)
{
    decoder.decode("12\0" "9b"sv);
    EXPECT_EQ(state.adcValue[0], 12);
}

} // namespace

namespace {

// Wire text as a real line carries it: good readings, line ends, now and then a bad one.
std::string makeStream(std::mt19937 &random, int readings)
{
    static const char *const bad[] = {"12x4", "", "$", "99999999999", "-", "1\r2", "7B"};
    std::string stream;
    for (int i = 0; i < readings; ++i) {
        if (random() % 10 == 0)
            stream += bad[random() % std::size(bad)];
        else
            stream += std::to_string(int(random() % 2048) - 1024);
        if (random() % 3 == 0)
            stream += ' ';
        stream += char('a' + random() % 6);
        if (random() % 2 == 0)
            stream += "\r\n";
    }
    return stream;
}

TEST(ReadingDecoderStreamTest, howTheTextIsCutIntoDeliveriesChangesNothing)
{
    std::mt19937 random(2026);
    for (int round = 0; round < 50; ++round) {
        const std::string stream = makeStream(random, 200);
        AcquisitionState whole, pieces;
        whole.multiplier = pieces.multiplier = 3;
        ReadingDecoder wholeDecoder(whole), piecesDecoder(pieces);
        wholeDecoder.decode(stream);
        for (std::size_t at = 0; at < stream.size();) {
            const std::size_t length = 1 + random() % 7;
            piecesDecoder.decode(std::string_view(stream).substr(at, length));
            at += length;
        }
        ASSERT_EQ(pieces.adcValue, whole.adcValue) << stream;
        ASSERT_EQ(piecesDecoder.droppedCount(), wholeDecoder.droppedCount()) << stream;
        ASSERT_GT(wholeDecoder.droppedCount(), 0u);
    }
}

} // namespace
