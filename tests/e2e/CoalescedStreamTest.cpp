// Bytes that gather in the event thread before a delivery: a fast stream of small,
// split, merged and malformed writes still decodes to exactly the well-formed readings,
// in order; a reading written alone is not held back waiting for more.

#include "app/Form1.h"
#include "app/ReadingSink.h"
#include "serial/ComPort.h"
#include "tests/support/PtyPair.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

constexpr int generousMs = 20000;

using Reading = std::pair<int, std::int32_t>; // channel, value

struct ReadingLog : ReadingSink
{
    void take(int channel, std::int32_t value) override { readings.emplace_back(channel, value); }
    std::vector<Reading> readings;
};

class CoalescedStreamTest : public testing::Test
{
protected:
    CoalescedStreamTest()
    {
        form.ComPort1->setPort(board.slavePath());
        form.decoder().setSink(&log);
        form.Button1->click();
        form.Timer1->stop(); // only the decoder is looked at
    }
    ~CoalescedStreamTest() override { form.Button2->click(); }

    bool waitForTexts(std::uint64_t count)
    {
        return QTest::qWaitFor([&] { return form.decoder().decodedCount() + form.decoder().droppedCount() >= count; },
                               generousMs);
    }

    PtyPair board;
    TForm1 form;
    ReadingLog log;
};

TEST_F(CoalescedStreamTest, fastSmallWritesGiveExactlyTheWellFormedReadingsInOrder)
{
    const std::int32_t multiplier = form.state().multiplier;
    std::string wire;
    std::vector<Reading> expected;
    std::uint64_t texts = 0;
    for (int i = 0; i < 3000; ++i, ++texts) {
        const int channel = i % 6;
        const char tag = channel == 5 ? 'a' : char('b' + channel);
        if (i % 11 == 5) {
            wire += "1x2" + std::string(1, tag); // does not convert: dropped
            continue;
        }
        const int value = (i * 37) % 1024;
        wire += std::to_string(value) + (i % 7 == 3 ? " " : "") + tag + (i % 13 == 0 ? "\r\n" : "");
        expected.emplace_back(channel, value * multiplier);
    }
    // Pieces of 1 to 9 bytes, written as fast as the line takes them: readings split
    // across writes and several readings in one write.
    std::thread writer([&] {
        std::mt19937 random(19);
        for (std::size_t at = 0; at < wire.size();) {
            const std::size_t size = std::min<std::size_t>(1 + random() % 9, wire.size() - at);
            board.write(std::string_view(wire).substr(at, size));
            at += size;
        }
    });
    const bool arrived = waitForTexts(texts);
    writer.join();
    ASSERT_TRUE(arrived) << form.decoder().decodedCount() << " decoded, " << form.decoder().droppedCount()
                         << " dropped of " << texts;
    EXPECT_EQ(form.decoder().droppedCount(), texts - expected.size());
    EXPECT_EQ(log.readings, expected);
}

TEST_F(CoalescedStreamTest, aReadingWrittenAloneReachesTheDecoder)
{
    QElapsedTimer since;
    board.write("512b");
    since.start();
    ASSERT_TRUE(waitForTexts(1));
    // The gathering ends a millisecond after the first byte; five seconds leave room for
    // a loaded machine and still tell a reading held back until more bytes come.
    EXPECT_LT(since.elapsed(), 5000);
    EXPECT_EQ(log.readings, (std::vector<Reading>{{0, 512 * form.state().multiplier}}));
}

} // namespace
