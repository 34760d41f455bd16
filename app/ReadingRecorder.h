#pragma once

#include "app/ReadingSink.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class RecordFile;
class RecordWriter;

// Keeps every decoded reading in a CSV file (RecordFormat), where the display keeps
// one per tick, or sends it into a pipe ("-": standard output). Lines are formatted on
// the GUI thread into a buffer that goes to the writer thread when it is full, at least
// every half second, and at Stop; the GUI thread never waits for the disc or a reader.
// A recording goes on across Stop and Start until stop() or the end of the program.
class ReadingRecorder : public QObject, public ReadingSink
{
    Q_OBJECT

public:
    // Opens a file for appending; raises EFCreateError with the system's reason.
    using Opener = std::function<std::unique_ptr<RecordFile>(const QString &path)>;

    // A buffer this full goes to the writer thread.
    static constexpr std::size_t bufferSize = std::size_t{64} * 1024;
    // Bytes waiting for a disc or a reader that does not keep up; beyond this the
    // recording ends rather than taking all memory.
    static constexpr std::size_t maxBacklog = std::size_t{64} * 1024 * 1024;

    explicit ReadingRecorder(QObject *parent = nullptr);
    // finish()
    ~ReadingRecorder() override;

    // Replaces the file system, for tests.
    void setOpener(Opener opener) { m_open = std::move(opener); }

    bool isRecording() const { return m_file != nullptr; }
    QString path() const { return m_path; }
    // Readings taken into the running recording; each is on the disc within a second.
    std::uint64_t readingCount() const { return m_readings; }
    // Bytes handed to the writer since the program started, headers included; each is
    // on the disc within a second unless its recording fails.
    std::uint64_t byteCount() const { return m_bytes; }

    // Starts a recording into path at once; a running one ends first. A file that
    // cannot be opened raises EFCreateError with the message for the error box, and
    // whatever ran before goes on.
    void start(const QString &path);

    // Keeps path for startArmed(), unless start() comes first.
    void arm(const QString &path) { m_armedPath = path; }
    // Starts the armed recording, once.
    void startArmed();

    // Sends what was taken so far to the disc and syncs it; the recording goes on.
    void flush();

    // Ends the recording: what was taken is written and synced after this returns.
    void stop();

    // The end of the program: ends the recording and waits until everything taken is
    // written and synced, within the writer's limits (RecordWriter::finish); readings
    // that could not be written are counted on stderr, one line a recording.
    void finish();

    // Called before a delivery is decoded: its readings carry the time it arrived.
    void beginDelivery();

    void take(int channel, std::int32_t value) override;

signals:
    void recordingChanged(bool recording);
    // A write failed or the disc fell behind: the recording has ended, what was written
    // stays. Emitted from the event loop, never inside a delivery.
    void failed(const QString &message);

private slots:
    void takeFailures();

private:
    void handOver(bool sync);
    void release(bool sync);
    void end(bool sync);

    Opener m_open;
    std::shared_ptr<RecordFile> m_file;
    std::uint64_t m_recording = 0; // counts recordings, so that a late failure finds its own
    std::uint64_t m_reported = 0;  // the last recording whose failure was shown
    QString m_path;
    std::uint64_t m_readings = 0;
    std::uint64_t m_bytes = 0;
    QString m_armedPath;
    std::string m_buffer;
    std::size_t m_bufferReadings = 0;
    std::string m_deliveryTime; // the time column of the delivery being decoded
    QTimer m_flushTimer;
    std::unique_ptr<RecordWriter> m_writer;
};
