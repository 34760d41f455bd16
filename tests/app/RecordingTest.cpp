#include "app/ReadingDecoder.h"
#include "app/ReadingRecorder.h"
#include "app/RecordFormat.h"
#include "app/RecordWriter.h"
#include "tests/app/RecordTestFiles.h"
#include "tests/support/StalledPipe.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

TEST(RecordFormatTest, linesCarryTimeChannelAndValue)
{
    struct Row
    {
        const char *name;
        std::int64_t microseconds;
        int channel;
        std::int32_t value;
        std::string_view line;
    };
    const Row rows[] = {
        {"plain", 1796774020370950, 0, 512, "1796774020.370950,ADC0,512\n"},
        {"fraction keeps its leading zeros", 1796774020000007, 5, 1023, "1796774020.000007,ADC5,1023\n"},
        {"negative reading", 42000000, 1, -7, "42.000000,ADC1,-7\n"},
        {"widest value", 0, 3, INT32_MIN, "0.000000,ADC3,-2147483648\n"},
        {"before the epoch", -1, 2, 0, "-0.000001,ADC2,0\n"},
        {"widest time", INT64_MIN, 4, INT32_MIN, "-9223372036854.775808,ADC4,-2147483648\n"},
    };
    for (const Row &row : rows) {
        std::string time = "stale";
        RecordFormat::formatTime(time, row.microseconds);
        std::string out = "kept,";
        RecordFormat::appendReading(out, time, row.channel, row.value);
        EXPECT_EQ(out, "kept," + std::string(row.line)) << row.name;
    }
}

TEST(RecordFormatTest, writtenLinesReadBackAndOthersAreNamed)
{
    for (const std::int64_t microseconds : {std::int64_t(1796774020370950), std::int64_t(7), std::int64_t(-1)}) {
        std::string time;
        RecordFormat::formatTime(time, microseconds);
        std::string line;
        RecordFormat::appendReading(line, time, 4, INT32_MIN);
        line.pop_back();
        const RecordFormat::Line read = RecordFormat::parseLine(line);
        EXPECT_EQ(read.status, RecordFormat::Line::reading) << line;
        EXPECT_EQ(read.microseconds, microseconds) << line;
        EXPECT_EQ(read.channel, 4);
        EXPECT_EQ(read.value, INT32_MIN);
    }

    using Line = RecordFormat::Line;
    struct Row
    {
        const char *name;
        std::string_view line;
        Line::Status status;
        std::int64_t microseconds;
    };
    const Row rows[] = {
        {"a spreadsheet's shorter fraction and CR LF", "12.5,ADC5,3\r", Line::reading, 12500000},
        {"whole seconds", "12,ADC0,3", Line::reading, 12000000},
        {"two fields", "12.5,ADC0", Line::wrongFieldCount, 0},
        {"four fields", "12.5,ADC0,3,4", Line::wrongFieldCount, 0},
        {"empty line", "", Line::wrongFieldCount, 0},
        {"seven decimals", "12.1234567,ADC0,3", Line::badTime, 0},
        {"two signs", "--1.5,ADC0,3", Line::badTime, 0},
        {"no time", ",ADC0,3", Line::badTime, 0},
        {"past 64 bits of microseconds", "9223372036855,ADC0,3", Line::badTime, 0},
        {"channel beyond ADC5", "1.0,ADC6,3", Line::unknownChannel, 0},
        {"lower-case channel", "1.0,adc0,3", Line::unknownChannel, 0},
        {"above 32 bits", "1.0,ADC0,2147483648", Line::badValue, 0},
        {"below 32 bits", "1.0,ADC0,-2147483649", Line::badValue, 0},
        {"a fraction", "1.0,ADC0,3.5", Line::badValue, 0},
    };
    for (const Row &row : rows) {
        const Line read = RecordFormat::parseLine(row.line);
        EXPECT_EQ(read.status, row.status) << row.name;
        if (row.status == Line::reading)
            EXPECT_EQ(read.microseconds, row.microseconds) << row.name;
        else
            EXPECT_FALSE(RecordFormat::problem(read.status).empty()) << row.name;
    }
    EXPECT_TRUE(RecordFormat::isHeader("\xEF\xBB\xBFtime_s,channel,value\r"));
    EXPECT_FALSE(RecordFormat::isHeader("time,channel,value"));
}

class ReadingRecorderTest : public testing::Test
{
protected:
    ReadingRecorderTest() { decoder.setSink(recorder.get()); }

    void deliver(std::string_view text)
    {
        recorder->beginDelivery();
        decoder.decode(text);
    }

    // Ends the recorder, which waits until everything is on the disc.
    QList<QByteArray> finishedLines()
    {
        decoder.setSink(nullptr);
        recorder.reset();
        return fileBytes(path).split('\n');
    }

    bool waitForLines(qsizetype count)
    {
        return QTest::qWaitFor([&] { return fileBytes(path).count('\n') == count; }, 10000);
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("readings.csv"));
    AcquisitionState state{.multiplier = 3};
    ReadingDecoder decoder{state};
    std::unique_ptr<ReadingRecorder> recorder = std::make_unique<ReadingRecorder>();
};

TEST_F(ReadingRecorderTest, recordsEveryReadingMultipliedWithOneHeader)
{
    const std::int64_t before = RecordFormat::now();
    recorder->start(path);
    deliver("1b2c3");
    deliver("d4e 5f\r\n6a12x4d7b");
    deliver("b9");
    const std::int64_t after = RecordFormat::now();
    const QList<QByteArray> lines = finishedLines();

    ASSERT_EQ(lines.size(), 9) << "header, seven readings, nothing after the last line end";
    EXPECT_EQ(lines[0], "time_s,channel,value");
    EXPECT_EQ(lines[8], "");
    const QRegularExpression shape(QStringLiteral("^(\\d+\\.\\d{6}),(ADC[0-5]),(-?\\d+)$"));
    const char *expected[] = {"ADC0,3", "ADC1,6", "ADC2,9", "ADC3,12", "ADC4,15", "ADC5,18", "ADC0,21"};
    double previous = 0;
    for (int i = 0; i < 7; ++i) {
        const QString line = QString::fromUtf8(lines[i + 1]);
        const auto match = shape.match(line);
        ASSERT_TRUE(match.hasMatch()) << line.toStdString();
        EXPECT_TRUE(line.endsWith(QString::fromLatin1(expected[i]))) << line.toStdString();
        const double time = match.captured(1).toDouble();
        EXPECT_GE(time, previous);
        EXPECT_GE(time * 1e6, double(before) - 1);
        EXPECT_LE(time * 1e6, double(after) + 1);
        previous = time;
    }
    // One delivery, one arrival time; 3d was completed in the delivery of 4e.
    EXPECT_EQ(lines[2].left(17), lines[1].left(17));
    EXPECT_EQ(lines[7].left(17), lines[3].left(17));
}

TEST_F(ReadingRecorderTest, anExistingFileIsAppendedToAndGetsTheHeaderOnlyWhenEmpty)
{
    for (const QByteArray &before : {QByteArray("time_s,channel,value\n1.000000,ADC0,5\n"), QByteArray()}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(before);
        file.close();
        recorder->start(path);
        deliver("7b");
        recorder->stop();
        ASSERT_TRUE(waitForLines(before.count('\n') + (before.isEmpty() ? 2 : 1)));
        const QByteArray after = fileBytes(path);
        EXPECT_TRUE(after.startsWith(before.isEmpty() ? "time_s,channel,value\n" : before));
        EXPECT_TRUE(after.endsWith(",ADC0,21\n"));
        EXPECT_EQ(after.count("time_s"), 1);
    }
}

TEST_F(ReadingRecorderTest, readingsReachTheDiscWhileTheRecordingGoesOn)
{
    recorder->start(path);
    deliver("1b");
    ASSERT_TRUE(waitForLines(2)) << "within a second without any Stop";
    deliver("2b");
    recorder->flush();
    ASSERT_TRUE(waitForLines(3)) << "at once at Stop";
    EXPECT_TRUE(recorder->isRecording());

    recorder->stop();
    deliver("3b");
    recorder->start(path);
    deliver("4b");
    const QList<QByteArray> lines = finishedLines();
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[3].endsWith(",ADC0,12")) << "nothing between stop and start";
}

TEST_F(ReadingRecorderTest, anArmedRecordingStartsOnceUnlessStartedBefore)
{
    recorder->arm(path);
    EXPECT_FALSE(recorder->isRecording());
    recorder->startArmed();
    EXPECT_TRUE(recorder->isRecording());
    EXPECT_EQ(recorder->path(), path);
    recorder->stop();
    recorder->startArmed();
    EXPECT_FALSE(recorder->isRecording());

    recorder->arm(dir.filePath(QStringLiteral("other.csv")));
    recorder->start(path);
    recorder->stop();
    recorder->startArmed();
    EXPECT_FALSE(recorder->isRecording());
}

TEST_F(ReadingRecorderTest, aFolderThatDoesNotExistRecordsNothing)
{
    const QString missing = dir.filePath(QStringLiteral("no-such-folder/readings.csv"));
    try {
        recorder->start(missing);
        FAIL() << "no error";
    } catch (const EFCreateError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Не удалось открыть файл %1 для записи показаний: %2")
                                       .arg(missing, QString::fromStdString(std::generic_category().message(ENOENT))));
    }
    EXPECT_FALSE(recorder->isRecording());
    deliver("1b");
    EXPECT_EQ(state.adcValue[0], 3) << "the display goes on";
}

TEST_F(ReadingRecorderTest, aFullDiscEndsTheRecordingOnceAndKeepsWhatWasWritten)
{
    std::atomic<bool> closed = false;
    const std::size_t header = RecordFormat::header.size();
    recorder->setOpener([&](const QString &name) { return std::make_unique<FullDiscFile>(name, header + 30, closed); });
    QSignalSpy failed(recorder.get(), &ReadingRecorder::failed);
    QSignalSpy changed(recorder.get(), &ReadingRecorder::recordingChanged);
    recorder->start(path);
    deliver("1b");
    recorder->flush();
    ASSERT_TRUE(waitForLines(2));
    deliver("2b3b");
    recorder->flush();
    deliver("4b");
    recorder->flush(); // queued behind the failing write: dropped, not reported again

    ASSERT_TRUE(QTest::qWaitFor([&] { return closed.load(); }, 10000));
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(failed.size(), 1);
    EXPECT_EQ(failed[0][0].toString(),
              QStringLiteral("Запись показаний в файл %1 прервана: %2").arg(path, FullDiscFile::reason()));
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_EQ(changed.size(), 2);
    const QByteArray kept = fileBytes(path);
    EXPECT_EQ(kept.count('\n'), 2);
    EXPECT_TRUE(kept.endsWith(",ADC0,3\n"));
}

TEST(RecordWriterTest, aFailedRecordingLeavesTheNextOneWriting)
{
    QTemporaryDir dir;
    std::atomic<bool> closed = false;
    std::atomic<int> failures = 0;
    const QString good = dir.filePath(QStringLiteral("good.csv"));
    RecordWriter writer([&] { ++failures; });
    const RecordWriter::Target full{1, QString(), std::make_shared<FullDiscFile>(dir.filePath("full"), 0, closed)};
    const RecordWriter::Target fine{2, good, PosixRecordFile::open(good)};
    writer.write(full, "a1", 0, false);
    writer.write(fine, "b1,", 0, false);
    writer.write(full, "a2", 0, true);
    writer.write(fine, "b2", 0, true);
    // In order: once b2 is in its file, a2 has had its turn.
    ASSERT_TRUE(QTest::qWaitFor([&] { return fileBytes(good) == "b1,b2"; }, 10000));
    EXPECT_EQ(failures, 1);
    const auto failed = writer.takeFailures();
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].recording, 1u);
    EXPECT_EQ(failed[0].reason, FullDiscFile::reason());
}

TEST(RecordWriterTest, aPipeThatIsNotReadHoldsUpNoOtherRecordingAndIsGivenUpAtTheEnd)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    const QString good = dir.filePath(QStringLiteral("good.csv"));
    const StalledPipe pipe(fifo);
    ASSERT_TRUE(pipe.isOpen());
    RecordWriter writer([] {});
    const RecordWriter::Target stalled{1, fifo, PosixRecordFile::open(fifo)};
    const RecordWriter::Target fine{2, good, PosixRecordFile::open(good)};
    constexpr std::size_t readings = 20000; // far more than a pipe holds
    std::string lines;
    for (std::size_t i = 0; i < readings; ++i)
        lines += "1.000000,ADC0,512\n";
    writer.write(stalled, lines, readings, false);
    writer.write(fine, "2.000000,ADC1,7\n", 1, true);

    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return fileBytes(good) == "2.000000,ADC1,7\n" && writer.backlog(2) == 0; }, 10000));
    EXPECT_GT(writer.backlog(1), 0u);
    const std::vector<RecordWriter::Unwritten> left = writer.finish(); // waits out the pipe's limit
    const QByteArray received = pipe.drain();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].path, fifo);
    EXPECT_EQ(std::size_t(received.count('\n')) + left[0].readings, readings) << "each reading is counted once";
}

TEST(PosixRecordFileTest, pipesAndSocketsTakeWhatFitsWithoutWaiting)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    const StalledPipe pipe(fifo);
    ASSERT_TRUE(pipe.isOpen());
    // A listener that never accepts: what is sent stays in the socket's buffer.
    const QString socketPath = dir.filePath(QStringLiteral("socket"));
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, QFile::encodeName(socketPath).constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    struct Row
    {
        const char *name;
        QString path;
        bool fills;
    };
    const Row rows[] = {
        {"named pipe", fifo, true},
        {"socket", socketPath, true},
        {"character device", QStringLiteral("/dev/null"), false},
    };
    const std::string block(4096, 'x');
    for (const Row &row : rows) {
        const auto file = PosixRecordFile::open(row.path);
        EXPECT_GE(file->readyDescriptor(), 0) << row.name;
        std::size_t taken = 0;
        for (int i = 0; i < 1024 && file->append(block) > 0; ++i)
            ++taken;
        EXPECT_EQ(taken < 1024, row.fills) << row.name;
    }
    EXPECT_EQ(PosixRecordFile::open(dir.filePath(QStringLiteral("disc.csv")))->readyDescriptor(), -1);
    ::close(listener);
}

TEST(PosixRecordFileTest, aWriteCutShortLeavesNoPartOfTheBuffer)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("limited.csv"));
    auto file = PosixRecordFile::open(path);
    EXPECT_TRUE(file->wasEmpty());
    // A file size limit makes the kernel take part of a write and refuse the rest, as a
    // disc does when it fills up.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{100, old.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const std::string line(60, 'x');
    file->append(line);
    EXPECT_THROW(file->append(line), EWriteError);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(fileBytes(path), QByteArray::fromStdString(line));
    EXPECT_FALSE(PosixRecordFile::open(path)->wasEmpty());
    EXPECT_THROW(PosixRecordFile::open(dir.path()), EFCreateError) << "a folder is no file";
}

} // namespace
