// Hostile text on the line, between good readings: the display keeps the last good
// values, takes each good reading as it comes, and every bad reading is counted once.

#include "chart/ChartValueList.h"
#include "chart/LineSeries.h"
#include "tests/faults/FaultRun.h"
#include "tests/faults/WindowOnBoard.h"
#include "tests/support/ModalWatcher.h"
#include "widgets/SpinEdit.h"
#include "widgets/AdvProgress.h"

#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

struct Line
{
    std::string text;
    int channel = -1; // the slot a good reading writes; -1 for a bad one
    std::int32_t value = 0;
};

Line good(std::int32_t value, int channel)
{
    static const char tags[] = "bcdefa"; // ADC0 .. ADC5
    return {std::to_string(value) + tags[channel] + "\r\n", channel, value};
}

Line bad(std::string text)
{
    return {std::move(text), -1, 0};
}

std::vector<Line> hostileLines()
{
    return {
        bad("\x01\x02\x7f\x80\xfe\xff" "c"s),             // binary bytes, then a tag
        bad("\x1b[0m\x9b\x00\xc3\xa9\r\n"s),               // binary bytes, no tag, a line end
        bad("\0\0\0d"s),                                    // NULs only
        bad("\0" "77e"s),                                   // a NUL in front of the number
        bad(std::string(100000, '9') + "\r\n"),            // a long run without a tag letter
        bad(std::string(100000, '7') + "b"),               // ... and one that ends in a tag
        bad("4294967296c"),                                // beyond 32 bits
        bad("2147483648d\r\n"),
        bad("-2147483649a"),
        bad("99999999999999999999e"),
        bad("$100000000f"),
        bad("512A\r\n"), bad("512B\r\n"), bad("512C\r\n"), // tags in upper case
        bad("512D\r\n"), bad("512E\r\n"), bad("512F\r\n"),
    };
}

class HostileLinesFault : public testing::Test, protected WindowOnBoard
{
protected:
    // Writes as much as the pseudo-terminal takes while the window reads: a long line
    // does not fit into its buffer at once.
    bool send(std::string_view text)
    {
        return FaultRun::processEventsUntil([&] {
            text.remove_prefix(board.tryWrite(text, 0));
            return text.empty();
        });
    }

    // The bars and the newest trace points show exactly these values.
    void expectShown(const std::array<std::int32_t, channelCount> &values, const std::string &after)
    {
        form.Timer1Timer();
        // A tick that passed the chart's length cleared the traces; the next starts them anew.
        if (form.state().sweepX == 0)
            form.Timer1Timer();
        for (int ch = 0; ch < channelCount; ++ch) {
            EXPECT_EQ(form.AdvProgress[ch]->Position(), values[ch]) << "bar " << ch << " after " << after;
            ASSERT_GT(form.Series[ch]->PointCount(), 0);
            EXPECT_EQ(form.Series[ch]->YValues().Last(), values[ch]) << "trace " << ch << " after " << after;
        }
    }
};

TEST_F(HostileLinesFault, badLinesAreCountedAndGoodOnesShownAsTheyCome)
{
    ModalWatcher boxes;
    FaultRun run("hostile", 1);
    form.SpinEdit4->setValue(100); // the sweep wraps every eleventh tick, in a short run too
    form.Button7->click();
    form.Button1->click();
    ASSERT_TRUE(form.ComPort1->Connected());
    form.Timer1->stop(); // the test runs each tick itself

    std::array<std::int32_t, channelCount> shown{};
    std::uint64_t linesSent = 0, badSent = 0, goodSent = 0;
    const std::vector<Line> hostile = hostileLines();
    while (run.nextRound()) {
        for (std::size_t i = 0; i < hostile.size(); ++i) {
            // A good reading on the next channel, then a bad line, in turn.
            const Line lines[] = {good(std::int32_t((run.rounds() * 31 + i * 7) % 1024), int(i % channelCount)),
                                  hostile[i]};
            for (const Line &line : lines) {
                ASSERT_TRUE(send(line.text)) << "line " << i << " was not taken";
                ++linesSent;
                ASSERT_TRUE(FaultRun::processEventsUntil([&] { return readingsSeen() == linesSent; }))
                    << "line " << i << " was never taken: seen " << readingsSeen() << " of " << linesSent;
                if (line.channel >= 0) {
                    shown[std::size_t(line.channel)] = line.value;
                    ++goodSent;
                } else {
                    ++badSent;
                }
                expectShown(shown, line.channel >= 0 ? "good line " + line.text : "bad line " + std::to_string(i));
                ASSERT_FALSE(HasFailure());
            }
        }
    }
    form.Button2->click();

    EXPECT_EQ(form.decoder().droppedCount(), badSent);
    EXPECT_EQ(form.decoder().decodedCount(), goodSent);
    EXPECT_TRUE(boxes.boxes().isEmpty());
    run.report("good_sent", double(goodSent));
    run.report("bad_sent", double(badSent));
    run.report("decoded", double(form.decoder().decodedCount()));
    run.report("dropped", double(form.decoder().droppedCount()));
}

} // namespace
