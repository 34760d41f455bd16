// Runs the built board simulator and reads what it sends through a real pseudo-terminal.

#include "tests/support/BoardProcess.h"

#include <QProcess>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <stdlib.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int generousMs = BoardProcess::generousMs;
const QRegularExpression wellFormed(QStringLiteral("^([0-9]{1,4})([a-f])$"));

// A reader end of the simulator's line: the slave it printed, or the master of a pair
// the test made and handed over with --device.
class LineReader
{
public:
    explicit LineReader(int fd) : m_fd(fd) {}
    ~LineReader() { close(); }

    void close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

    // Reads chunks until done(all text so far) holds; fails on a time-out or an end.
    template <typename Done>
    std::vector<std::string> readUntil(Done done)
    {
        std::vector<std::string> chunks;
        std::string all;
        while (!done(all)) {
            pollfd in = {m_fd, POLLIN, 0};
            if (poll(&in, 1, generousMs) != 1) {
                ADD_FAILURE() << "no data within the bound; got so far: " << all;
                break;
            }
            char buffer[4096];
            const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
            if (got <= 0) {
                ADD_FAILURE() << "line ended early; got so far: " << all;
                break;
            }
            chunks.emplace_back(buffer, static_cast<std::size_t>(got));
            all += chunks.back();
        }
        return chunks;
    }

private:
    int m_fd;
};

// The simulator, with the reader end of the slave it printed.
class Simulator : public BoardProcess
{
public:
    explicit Simulator(const QStringList &arguments) : BoardProcess(QStringLiteral(ONDRIX_BOARD), arguments) {}

    LineReader openSlave()
    {
        const std::string path = slavePath();
        EXPECT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC);
        EXPECT_GE(fd, 0) << path << ": " << errno;
        return LineReader(fd);
    }
};

QStringList arguments(const std::string &text)
{
    return QString::fromStdString(text).split(u' ', Qt::SkipEmptyParts);
}

std::size_t countOf(const std::string &text, const std::string &letters)
{
    std::size_t count = 0;
    for (char c : text)
        count += letters.find(c) != std::string::npos;
    return count;
}

// Everything a --count run sends, read until done(text so far) holds.
template <typename Done>
std::string readWholeRun(const std::string &options, Done done)
{
    Simulator simulator(arguments(options));
    LineReader reader = simulator.openSlave();
    std::string all;
    for (const std::string &chunk : reader.readUntil(done))
        all += chunk;
    reader.close();
    EXPECT_EQ(simulator.exitCode(), 0) << options;
    return all;
}

// A run of CR LF terminated readings, read to its last line.
std::string readLines(const std::string &options, std::size_t lines)
{
    return readWholeRun(options, [lines](const std::string &text) { return countOf(text, "\n") >= lines; });
}

// Readings without line ends: each runs up to and including its tag letter.
std::vector<std::string> splitAtTags(const std::string &text)
{
    std::vector<std::string> readings(1);
    for (char c : text) {
        readings.back() += c;
        if (c >= 'a' && c <= 'f')
            readings.emplace_back();
    }
    if (readings.back().empty())
        readings.pop_back();
    return readings;
}

std::vector<std::string> splitLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
}

TEST(Simulator, SendsEveryChannelInTurnWithLiveValuesInRange)
{
    const int rate = 100;
    const int perChannel = 3 * rate;
    const std::string text = readWholeRun("--rate 100 --count 300 --seed 3",
                                          [](const std::string &sofar) { return countOf(sofar, "abcdef") >= 6 * perChannel; });
    const std::vector<std::string> readings = splitAtTags(text);
    ASSERT_EQ(readings.size(), 6u * perChannel);

    const std::string order = "bcdefa"; // ADC0..ADC4, then ADC5
    std::map<char, std::vector<int>> values;
    for (std::size_t i = 0; i < readings.size(); ++i) {
        const auto match = wellFormed.match(QString::fromStdString(readings[i]));
        ASSERT_TRUE(match.hasMatch()) << "reading " << i << ": " << readings[i];
        const char tag = match.captured(2).at(0).toLatin1();
        ASSERT_EQ(tag, order[i % 6]) << "reading " << i;
        EXPECT_LE(match.captured(1).toInt(), 1023);
        values[tag].push_back(match.captured(1).toInt());
    }
    // Three seconds of each waveform: every trace moves visibly on a 0..1023 scale.
    for (const auto &[tag, trace] : values) {
        const auto [lowest, highest] = std::minmax_element(trace.begin(), trace.end());
        EXPECT_GE(*highest - *lowest, 200) << "channel " << tag << " hardly moves";
    }
    // The sine on ADC0 repeats every 2 s and the square wave on ADC2 every second.
    for (const auto &[tag, seconds] : {std::pair{'b', 2}, std::pair{'d', 1}}) {
        const std::vector<int> &trace = values[tag];
        for (std::size_t k = 0; k + std::size_t(seconds * rate) < trace.size(); ++k)
            ASSERT_NEAR(trace[k], trace[k + std::size_t(seconds * rate)], 1) << "channel " << tag << " at sample " << k;
    }
}

// Burst, split and CR LF only change how the text is cut and closed; the seed alone
// fixes the readings.
TEST(Simulator, FramingOptionsKeepTheSeededReadings)
{
    const std::string common = "--rate 2000 --count 40 --garbage 10 --seed 5";
    const std::size_t readings = 240;
    const std::string baseline = readLines(common + " --crlf", readings);

    struct Row
    {
        const char *what;
        std::string options;
    };
    const Row rows[] = {
        {"same seed again", common + " --crlf"},
        {"four readings per write", common + " --crlf --burst 4"},
        {"writes split in two", common + " --crlf --split"},
        {"split bursts", common + " --crlf --split --burst 3"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(readLines(row.options, readings), baseline) << row.what;

    std::string withoutLineEnds = baseline;
    std::erase(withoutLineEnds, '\r');
    std::erase(withoutLineEnds, '\n');
    const std::string bare = readWholeRun(common, [&](const std::string &text) { return text.size() >= withoutLineEnds.size(); });
    EXPECT_EQ(bare, withoutLineEnds) << "without --crlf";
    EXPECT_EQ(splitLines(baseline).size(), readings);

    const std::string otherSeed = readLines("--rate 2000 --count 40 --garbage 10 --seed 6 --crlf", readings);
    EXPECT_NE(otherSeed, baseline) << "the seed changes nothing";
}

TEST(Simulator, BurstWritesArriveAsWholeGroupsOfReadings)
{
    Simulator simulator(arguments("--rate 500 --count 40 --burst 4 --seed 1"));
    LineReader reader = simulator.openSlave();
    const auto chunks = reader.readUntil([](const std::string &text) { return countOf(text, "abcdef") >= 240; });
    for (const std::string &chunk : chunks) {
        EXPECT_EQ(countOf(chunk, "abcdef") % 4, 0u) << chunk;
        EXPECT_TRUE(chunk.back() >= 'a' && chunk.back() <= 'f') << chunk;
    }
    reader.close();
    EXPECT_EQ(simulator.exitCode(), 0);
}

// --split sends each write in two parts, the second half a period later (here 67 ms).
TEST(Simulator, SplitWritesArriveInTwoParts)
{
    Simulator simulator(arguments("--rate 5 --count 10 --burst 4 --split --seed 1"));
    LineReader reader = simulator.openSlave();
    const auto chunks = reader.readUntil([](const std::string &text) { return countOf(text, "abcdef") >= 60; });
    const auto cut = [](const std::string &chunk) { return countOf(chunk, "abcdef") % 4 != 0; };
    EXPECT_TRUE(std::any_of(chunks.begin(), chunks.end(), cut)) << "every write of four readings came whole";
    reader.close();
    EXPECT_EQ(simulator.exitCode(), 0);
}

TEST(Simulator, GarbageShareFollowsThePercentage)
{
    struct Row
    {
        int percent;
        std::size_t atLeast;
        std::size_t atMost;
    };
    // 600 readings: a quarter spoilt is 150 on average; the seed makes it exact, the
    // bounds only allow for a different but fair generator.
    for (const Row row : {Row{25, 100, 200}, Row{100, 600, 600}}) {
        const std::string options = "--rate 2000 --count 100 --crlf --seed 11 --garbage " + std::to_string(row.percent);
        const std::vector<std::string> lines = splitLines(readLines(options, 600));
        ASSERT_EQ(lines.size(), 600u);
        std::size_t malformed = 0;
        for (const std::string &line : lines)
            malformed += !wellFormed.match(QString::fromStdString(line)).hasMatch();
        EXPECT_GE(malformed, row.atLeast) << row.percent << "%";
        EXPECT_LE(malformed, row.atMost) << row.percent << "%";
    }
}

TEST(Simulator, KeepsThePathWhileReadersComeAndGoAndStopsOnSigterm)
{
    Simulator simulator(arguments("--rate 1000 --seed 2 --crlf"));
    const std::string path = simulator.slavePath();
    const auto thirtyLines = [](const std::string &text) { return countOf(text, "\n") >= 30; };
    {
        LineReader first(::open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC));
        ASSERT_FALSE(first.readUntil(thirtyLines).empty());
    }
    LineReader second(::open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC));
    ASSERT_FALSE(second.readUntil(thirtyLines).empty());
    simulator.process().terminate();   // with a reader still attached
    EXPECT_EQ(simulator.exitCode(), 0);
}

TEST(Simulator, WritesToAGivenDevice)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    LineReader reader(master);
    Simulator simulator(arguments(std::string("--rate 2000 --count 20 --crlf --seed 4 --device ") + ptsname(master)));
    std::string all;
    for (const std::string &chunk : reader.readUntil([](const std::string &text) { return countOf(text, "\n") >= 120; }))
        all += chunk;
    EXPECT_EQ(splitLines(all).size(), 120u);
    EXPECT_EQ(simulator.exitCode(), 0);
}

TEST(Simulator, RefusesBadOptions)
{
    for (const char *options :
         {"--rate 0", "--rate", "--burst x", "--garbage 101", "--replay x.csv --speed -1", "--replay x.csv --speed 1000001",
          "--colour red"}) {
        Simulator simulator(arguments(options));
        EXPECT_EQ(simulator.exitCode(), 2) << options;
        EXPECT_FALSE(simulator.process().readAllStandardError().isEmpty()) << options;
    }
}

// A recording as a file of the test's own.
class RecordingFile
{
public:
    explicit RecordingFile(const std::string &text)
    {
        m_path = m_folder.filePath(QStringLiteral("readings.csv"));
        QFile file(m_path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
    }
    const QString &path() const { return m_path; }

private:
    QTemporaryDir m_folder;
    QString m_path;
};

const std::string header = "time_s,channel,value\n";

TEST(Replay, SendsGoodReadingsAndNamesEveryOtherLine)
{
    struct Row
    {
        const char *what;
        std::string recording;
        bool fromStandardInput;
        std::string options;
        std::string received;        // what the reader gets, in order
        std::vector<std::string> messages;
    };
    const Row rows[] = {
        {"each kind of malformed line",
         header + "1.0,ADC0,1\n1.0,ADC1\n1.1,ADC0,2,3\n1.2,ADC6,4\n1.3,ADC2,2147483648\n0.9,ADC3,5\n1.4,ADC5,-6\n", false,
         "", "1b-6a",
         {"readings.csv:3: not three fields", "readings.csv:4: not three fields", "readings.csv:5: the channel",
          "readings.csv:6: the value", "readings.csv:7: the time goes back", "replayed 2 readings"}},
        {"standard input, CR LF chosen", header + "1.0,ADC4,7\n2.0,ADC0,8\n", true, "--crlf", "7f\r\n8b\r\n",
         {"replayed 2 readings from standard input"}},
        {"only the header", header, false, "", "", {"holds no readings: nothing to replay"}},
        {"an empty file", "", false, "", "", {"holds no readings: nothing to replay"}},
    };
    for (const Row &row : rows) {
        const RecordingFile file(row.recording);
        const QString source = row.fromStandardInput ? QStringLiteral("-") : file.path();
        Simulator simulator(arguments("--speed 0 " + row.options) << QStringLiteral("--replay") << source);
        if (row.fromStandardInput) {
            simulator.process().write(row.recording.data(), static_cast<qint64>(row.recording.size()));
            simulator.process().closeWriteChannel();
        }
        LineReader reader = simulator.openSlave();
        std::string got;
        if (!row.received.empty()) {
            for (const std::string &chunk : reader.readUntil([&](const std::string &text) { return text.size() >= row.received.size(); }))
                got += chunk;
        }
        const QString errors = simulator.waitForError(QString::fromStdString(row.messages.back()));
        EXPECT_EQ(got, row.received) << row.what;
        EXPECT_EQ(errors.count(u'\n'), static_cast<qsizetype>(row.messages.size())) << row.what << errors.toStdString();
        for (const std::string &message : row.messages)
            EXPECT_TRUE(errors.contains(QString::fromStdString(message))) << row.what << ": " << message;
        EXPECT_EQ(simulator.process().state(), QProcess::Running) << row.what << ": it stays open";
    }
}

TEST(Replay, RefusesWhatIsNoRecordingBeforeMakingATerminal)
{
    // A first line longer than any reading is none, however it ends.
    const std::string texts[] = {"1.0,ADC0,1\n", std::string(65536, 'x') + header + "1.0,ADC0,1\n"};
    for (const std::string &text : texts) {
        for (const bool fromStandardInput : {false, true}) {
            const RecordingFile file(text);
            Simulator simulator({QStringLiteral("--replay"), fromStandardInput ? QStringLiteral("-") : file.path()});
            simulator.process().write(text.data(), static_cast<qint64>(text.size()));
            simulator.process().closeWriteChannel();
            EXPECT_EQ(simulator.exitCode(), 2) << fromStandardInput << ' ' << text.size();
            EXPECT_TRUE(simulator.process().readAllStandardOutput().isEmpty()) << "no terminal path";
            EXPECT_TRUE(simulator.process().readAllStandardError().contains("is not a recording")) << fromStandardInput;
        }
    }
}

TEST(Replay, OneRecordedDeliveryIsOneWriteAtTheRecordedPace)
{
    const RecordingFile file(header + "5.000000,ADC0,1\n5.000000,ADC1,2\n5.300000,ADC2,3\n");
    Simulator simulator({QStringLiteral("--replay"), file.path()});
    LineReader reader = simulator.openSlave();
    const auto chunks = reader.readUntil([](const std::string &text) { return text.size() >= 6; });
    EXPECT_EQ(chunks, (std::vector<std::string>{"1b2c", "3d"}));
}

} // namespace
