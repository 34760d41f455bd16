#pragma once

#include "app/AcquisitionState.h"
#include "app/PortReception.h"
#include "app/ReadingDecoder.h"
#include "app/ReadingRecorder.h"
#include "app/RecordPattern.h"
#include "recorder/RecorderOptions.h"
#include "serial/CustomComPort.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <ctime>
#include <functional>
#include <string>

// The window's acquisition without the window: the port feeds the decoder, the decoder
// the recorder, for as long as the program runs. The file follows the clock through the
// pattern, switching between two deliveries; a port that goes away is opened again when
// it comes back (every second for the first minute, then every 10 s); a file that cannot
// be written is reported once and the next file tried. Every event is one line told to
// the report.
class UnattendedRecorder : public QObject
{
    Q_OBJECT

public:
    using Clock = std::function<std::time_t()>;
    using Report = std::function<void(const QString &line)>;

    static constexpr int quickRetryMs = 1000;
    static constexpr int slowRetryMs = 10000;
    static constexpr qint64 quickRetryPeriodMs = 60000;
    static constexpr int statusPeriodMs = 3600 * 1000;

    UnattendedRecorder(const RecorderOptions &options, Report report, Clock clock = &currentTime);
    ~UnattendedRecorder() override;

    // Opens the first file, then the port, or starts trying to. Without fields in the
    // pattern, a file that cannot be opened raises EFCreateError.
    void start();

    // Ends: the port closed and its lock removed, everything received written and
    // synced within the writer's limits.
    void finish();

    // Readings taken, bad readings, bytes written, the file.
    QString status() const;
    std::uint64_t readingsTaken() const { return m_decoder.decodedCount(); }

    TCustomComPort &port() { return m_port; }

signals:
    // A pattern without fields has no next file to try: a failed file ends the program.
    void gaveUp();

private:
    static std::time_t currentTime() { return std::time(nullptr); }

    void followClock();
    void startFile(const std::string &name);
    void recordingFailed(const QString &message);
    void openPort();
    bool tryOpen(QString &reason);
    void startRetrying();
    void portLost(int systemCode);
    void retryPort();
    QString portName() const { return m_port.Port(); }

    Report m_report;
    Clock m_clock;
    RecordPattern m_pattern;
    TCustomComPort m_port;
    AcquisitionState m_state;
    ReadingRecorder m_recorder; // outlives the decoder that feeds it
    ReadingDecoder m_decoder{m_state};
    PortReception m_reception{m_port, m_decoder, m_recorder};
    std::string m_fileName;         // the pattern's name when last looked at
    std::time_t m_lookedAt = -1;    // the second of that look
    QTimer m_retryTimer;
    QElapsedTimer m_missingFor;     // since the port went away
    QTimer m_statusTimer;
};
