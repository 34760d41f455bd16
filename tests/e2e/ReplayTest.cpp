// A recording replayed by the board simulator into the window, recorded again: what the
// window receives from a replay is what it received from the board.

#include "app/Form1.h"
#include "app/ReadingRecorder.h"
#include "app/RecordFormat.h"
#include "serial/ComPort.h"
#include "tests/app/RecordTestFiles.h"
#include "tests/support/BoardProcess.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr qsizetype readingCount = 120;

class ReplayTest : public testing::Test
{
protected:
    // Records readingCount readings from a board started with these arguments.
    std::vector<RecordFormat::Line> record(const QStringList &boardArguments, const QString &name)
    {
        BoardProcess board(QStringLiteral(ONDRIX_BOARD), boardArguments);
        const QString path = folder.filePath(name);
        TForm1 form;
        form.ComPort1->setPort(QString::fromStdString(board.slavePath()));
        form.recorder().arm(path);
        form.Button1->click();
        EXPECT_TRUE(form.ComPort1->Connected());
        form.Timer1->stop(); // only the recording matters here
        const bool complete = QTest::qWaitFor([&] { return fileBytes(path).count('\n') >= readingCount + 1; },
                                              BoardProcess::generousMs);
        EXPECT_TRUE(complete) << name.toStdString();
        form.Button2->click();
        std::vector<RecordFormat::Line> lines;
        for (const QByteArray &line : fileBytes(path).split('\n').mid(1, readingCount))
            lines.push_back(RecordFormat::parseLine(line.toStdString()));
        return lines;
    }

    QStringList replayOf(const QString &name) const { return {QStringLiteral("--replay"), folder.filePath(name)}; }

    QTemporaryDir folder;
};

std::vector<std::pair<int, std::int32_t>> readingsOf(const std::vector<RecordFormat::Line> &lines)
{
    std::vector<std::pair<int, std::int32_t>> readings;
    for (const RecordFormat::Line &line : lines)
        readings.emplace_back(line.channel, line.value);
    return readings;
}

// The median gap between one line and the next, in microseconds.
std::int64_t medianGap(const std::vector<RecordFormat::Line> &lines)
{
    std::vector<std::int64_t> gaps;
    for (std::size_t i = 1; i < lines.size(); ++i)
        gaps.push_back(lines[i].microseconds - lines[i - 1].microseconds);
    if (gaps.empty())
        return 0;
    std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
    return gaps[gaps.size() / 2];
}

TEST_F(ReplayTest, aReplayIsRecordedAsTheBoardWasAtFullSpeedAtTheRecordedPaceAndInALoop)
{
    // Sixty readings a second: gaps of 17 ms, which a replay at once would not keep.
    const auto live = record({QStringLiteral("--rate"), QStringLiteral("10"), QStringLiteral("--count"),
                              QStringLiteral("20"), QStringLiteral("--seed"), QStringLiteral("7")},
                             QStringLiteral("live.csv"));
    ASSERT_EQ(live.size(), std::size_t(readingCount));

    const auto atOnce = record(replayOf(QStringLiteral("live.csv")) << QStringLiteral("--speed") << QStringLiteral("0"),
                               QStringLiteral("at-once.csv"));
    EXPECT_EQ(readingsOf(atOnce), readingsOf(live));

    const auto paced = record(replayOf(QStringLiteral("live.csv")), QStringLiteral("paced.csv"));
    EXPECT_EQ(readingsOf(paced), readingsOf(live));
    // The pace is kept: a late line shortens only the gap after it, since every line is due
    // at its own time from the start; a replay at once has no gaps to speak of.
    EXPECT_GT(medianGap(paced), medianGap(live) / 2);

    // With --loop, a recording of a third as many readings goes out three times over.
    QFile third(folder.filePath(QStringLiteral("third.csv")));
    ASSERT_TRUE(third.open(QIODevice::WriteOnly));
    const QList<QByteArray> liveLines = fileBytes(folder.filePath(QStringLiteral("live.csv"))).split('\n');
    third.write(liveLines.mid(0, readingCount / 3 + 1).join('\n') + '\n');
    third.close();
    const auto looped = record(replayOf(QStringLiteral("third.csv")) << QStringLiteral("--speed") << QStringLiteral("0")
                                                                    << QStringLiteral("--loop"),
                               QStringLiteral("looped.csv"));
    auto expected = readingsOf(live);
    expected.resize(readingCount / 3);
    for (qsizetype i = 0; i < 2 * readingCount / 3; ++i)
        expected.push_back(expected[i]);
    EXPECT_EQ(readingsOf(looped), expected);
}

// Readings on ADC0 valued first, first + 1, ..., a hundredth of a second apart.
QByteArray recordedLines(int first, int count)
{
    QByteArray text;
    for (int value = first; value < first + count; ++value)
        text += "1796914002." + QByteArray::number(value).rightJustified(2, '0') + ",ADC0," + QByteArray::number(value) + '\n';
    return text;
}

TEST_F(ReplayTest, aFollowedRecordingSendsWhatIsAddedAndStartsAgainOnceWhenCut)
{
    const QString path = folder.filePath(QStringLiteral("growing.csv"));
    const auto put = [&](const QByteArray &bytes, QIODevice::OpenMode mode) {
        QFile file(path);
        ASSERT_TRUE(file.open(mode));
        file.write(bytes);
    };
    put(QByteArray(RecordFormat::header.data()) + recordedLines(0, 3), QIODevice::WriteOnly);
    BoardProcess board(QStringLiteral(ONDRIX_BOARD), replayOf(QStringLiteral("growing.csv")) << QStringLiteral("--follow"));
    TForm1 form;
    form.ComPort1->setPort(QString::fromStdString(board.slavePath()));
    form.Button1->click();
    const auto received = [&](std::uint64_t count) {
        return QTest::qWaitFor([&] { return form.decoder().decodedCount() == count; }, BoardProcess::generousMs);
    };
    ASSERT_TRUE(received(3));

    put(recordedLines(3, 4), QIODevice::Append);
    ASSERT_TRUE(received(7));
    EXPECT_EQ(form.state().adcValue[0], 6);

    put(QByteArray(RecordFormat::header.data()) + recordedLines(50, 2), QIODevice::WriteOnly | QIODevice::Truncate);
    ASSERT_TRUE(received(9));
    EXPECT_EQ(form.state().adcValue[0], 51);
    const QString said = board.waitForError(QStringLiteral("cut short"));
    EXPECT_EQ(said.count(QStringLiteral("cut short")), 1) << said.toStdString();
    form.Button2->click();
}

} // namespace
