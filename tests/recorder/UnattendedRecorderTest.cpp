// The recorder on a board played on pseudo-terminals: every reading exactly once across a
// change of file, across the device missing at the start or going away and coming back,
// and a full disc told once a file. The clock that names the files is the test's.

#include "app/RecordFormat.h"
#include "app/RecordPattern.h"
#include "recorder/UnattendedRecorder.h"
#include "tests/support/DeviceLink.h"
#include "tests/support/FullFolder.h"
#include "tests/support/PtyPair.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr int generousMs = 20000;

// Readings valued first, first + 1, ... on ADC0.
std::string readings(int first, int count)
{
    std::string text;
    for (int value = first; value < first + count; ++value)
        text += std::to_string(value) + 'b';
    return text;
}

// The values a recording holds after its header, or -1 for a file without one.
std::vector<int> valuesIn(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.readLine() != QByteArray(RecordFormat::header.data()))
        return {-1};
    std::vector<int> values;
    while (!file.atEnd())
        values.push_back(RecordFormat::parseLine(file.readLine().trimmed().toStdString()).value);
    return values;
}

std::vector<int> sequence(int first, int count)
{
    std::vector<int> values(count);
    std::iota(values.begin(), values.end(), first);
    return values;
}

// 23:59:59 local time, the second before a day's file gives way to the next one's.
std::time_t lastSecondOfDay()
{
    std::tm day{};
    day.tm_year = 2026 - 1900;
    day.tm_mon = 11;
    day.tm_mday = 10;
    day.tm_hour = 23;
    day.tm_min = 59;
    day.tm_sec = 59;
    day.tm_isdst = -1;
    return std::mktime(&day);
}

class UnattendedRecorderTest : public testing::Test
{
protected:
    RecorderOptions optionsFor(const QString &port, const QString &pattern) const
    {
        RecorderOptions options;
        options.port = port;
        options.pattern = pattern;
        return options;
    }

    std::unique_ptr<UnattendedRecorder> makeRecorder(const RecorderOptions &options)
    {
        return std::make_unique<UnattendedRecorder>(
            options, [this](const QString &line) { said << line; }, [this] { return now; });
    }

    bool saidSomething(const QString &text)
    {
        return QTest::qWaitFor([&] { return said.join('\n').contains(text); }, generousMs);
    }

    QTemporaryDir folder;
    std::time_t now = lastSecondOfDay();
    QStringList said;
};

TEST(RecordPatternTest, anyPercentButADoubledOneMakesTheNameFollowTheClock)
{
    const std::pair<const char *, bool> rows[] = {
        {"day-%Y.csv", true}, {"100%%.csv", false}, {"100%%-%d.csv", true}, {"%%%d", true}, {"end%", false}};
    for (const auto &[pattern, fields] : rows) {
        const RecordPattern recordPattern(pattern);
        EXPECT_EQ(recordPattern.hasFields(), fields) << pattern;
        if (!fields) {
            EXPECT_EQ(recordPattern.nameAt(0), pattern);
        }
    }
}

TEST(RecorderOptionsTest, lineFlowAndMultiplierTakeWhatTheWindowOffersAndRefuseTheRest)
{
    struct Case
    {
        const char *line;
        bool taken;
        TBaudRate rate{};
        int customRate = 0;
        TDataBits dataBits{};
        TParityBits parity{};
        TStopBits stopBits{};
    };
    const Case cases[] = {
        {"9600,8N1", true, br9600, 9600, dbEight, prNone, sbOneStopBit},
        {"115200,7e2", true, br115200, 115200, dbSeven, prEven, sbTwoStopBits},
        {"250000,5M1.5", true, brCustom, 250000, dbFive, prMark, sbOne5StopBits},
        {"300,6O1", true, br300, 300, dbSix, prOdd, sbOneStopBit},
        {"9600,9N1", false}, {"9600,8X1", false}, {"9600,8N3", false}, {"0,8N1", false},
        {"9600", false}, {"fast,8N1", false}, {"9600,8N1,", false}, {"", false},
    };
    for (const Case &c : cases) {
        RecorderOptions options;
        options.stopBits = sbTwoStopBits; // a refusal must leave this as it was
        EXPECT_EQ(options.setLine(QString::fromLatin1(c.line)), c.taken) << c.line;
        if (!c.taken) {
            EXPECT_EQ(options.stopBits, sbTwoStopBits) << c.line;
            continue;
        }
        EXPECT_EQ(options.baudRate, c.rate) << c.line;
        if (c.rate == brCustom) {
            EXPECT_EQ(options.customBaudRate, c.customRate) << c.line;
        }
        EXPECT_EQ(options.dataBits, c.dataBits) << c.line;
        EXPECT_EQ(options.parity, c.parity) << c.line;
        EXPECT_EQ(options.stopBits, c.stopBits) << c.line;
    }

    RecorderOptions options;
    EXPECT_TRUE(options.setFlow(QStringLiteral("xonxoff")));
    EXPECT_EQ(options.flow, fcSoftware);
    EXPECT_TRUE(options.setFlow(QStringLiteral("none")));
    EXPECT_EQ(options.flow, fcNone);
    EXPECT_FALSE(options.setFlow(QStringLiteral("hardware")));
    EXPECT_TRUE(options.setMultiplier(QStringLiteral("100000")));
    EXPECT_EQ(options.multiplier, 100000);
    for (const char *bad : {"0", "100001", "-3", "2x"})
        EXPECT_FALSE(options.setMultiplier(QString::fromLatin1(bad))) << bad;
}

TEST_F(UnattendedRecorderTest, theDaysFilesTogetherHoldEveryReadingOnceEachWithItsHeader)
{
    PtyPair board;
    const QString pattern = folder.filePath(QStringLiteral("%Y-%m-%d.csv"));
    auto recorder = makeRecorder(optionsFor(board.slavePath(), pattern));
    recorder->start();
    board.write(readings(0, 300));
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder->readingsTaken() == 300; }, generousMs));
    ++now;
    board.write(readings(300, 200));
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder->readingsTaken() == 500; }, generousMs));
    recorder->finish();

    EXPECT_EQ(valuesIn(folder.filePath(QStringLiteral("2026-12-10.csv"))), sequence(0, 300));
    EXPECT_EQ(valuesIn(folder.filePath(QStringLiteral("2026-12-11.csv"))), sequence(300, 200));
}

TEST_F(UnattendedRecorderTest, aDeviceAbsentAtStartOrGoneIsOpenedWhenItComesAndTheFileGoesOn)
{
    DeviceLink link;
    const QString path = folder.filePath(QStringLiteral("board.csv"));
    auto recorder = makeRecorder(optionsFor(link.path(), path));
    recorder->start();
    ASSERT_TRUE(saidSomething(QStringLiteral("cannot open ") + link.path()));
    auto board = std::make_unique<PtyPair>();
    ASSERT_TRUE(link.pointAt(board->slavePath()));
    ASSERT_TRUE(saidSomething(link.path() + QStringLiteral(" open again")));
    board->write(readings(0, 100));
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder->readingsTaken() == 100; }, generousMs));

    board.reset();
    ASSERT_TRUE(saidSomething(link.path() + QStringLiteral(" is gone")));
    board = std::make_unique<PtyPair>();
    ASSERT_TRUE(link.pointAt(board->slavePath()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return said.count() == 4; }, generousMs)) << "opened again";
    board->write(readings(100, 100));
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder->readingsTaken() == 200; }, generousMs));
    recorder->finish();

    EXPECT_EQ(valuesIn(path), sequence(0, 200));
    EXPECT_EQ(said.size(), 4) << said.join('\n').toStdString();
}

TEST_F(UnattendedRecorderTest, aFullDiscIsToldOnceAFileAndTheNextFileIsTried)
{
    FullFolder full;
    PtyPair board;
    auto recorder = makeRecorder(optionsFor(board.slavePath(), full.path() + QStringLiteral("/%Y-%m-%d.csv")));
    full.fill(4096);
    recorder->start();
    const QString today = full.path() + QStringLiteral("/2026-12-10.csv");
    const QString tomorrow = full.path() + QStringLiteral("/2026-12-11.csv");
    // Far more than the room, in several deliveries, each of which could be told again.
    for (int round = 0; round < 5; ++round) {
        board.write(readings(round * 1000, 1000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return recorder->readingsTaken() == (round + 1) * 1000u; }, generousMs));
    }
    // Both the failure to write and one to open name the file so.
    ASSERT_TRUE(saidSomething(QStringLiteral("файл ") + today));
    ++now;
    board.write(readings(5000, 1000));
    ASSERT_TRUE(saidSomething(QStringLiteral("файл ") + tomorrow));
    recorder->finish();

    QStringList failures = said;
    failures.removeIf([](const QString &line) { return line.startsWith(QStringLiteral("recording into ")); });
    ASSERT_EQ(failures.size(), 2) << said.join('\n').toStdString();
    EXPECT_TRUE(failures[0].contains(today));
    EXPECT_TRUE(failures[1].contains(tomorrow));
}

TEST_F(UnattendedRecorderTest, aFullDiscWithNoNextFileToTryEndsTheRecording)
{
    FullFolder full;
    PtyPair board;
    auto recorder = makeRecorder(optionsFor(board.slavePath(), full.path() + QStringLiteral("/board.csv")));
    QSignalSpy gaveUp(recorder.get(), &UnattendedRecorder::gaveUp);
    full.fill(4096);
    recorder->start();
    board.write(readings(0, 1000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return gaveUp.count() == 1; }, generousMs)) << said.join('\n').toStdString();
    recorder->finish();
    EXPECT_EQ(said.size(), 1) << said.join('\n').toStdString();
}

} // namespace
