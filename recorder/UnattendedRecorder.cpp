#include "recorder/UnattendedRecorder.h"

#include "runtime/Application.h"
#include "runtime/Exception.h"

#include <QFile>
#include <cstring>

UnattendedRecorder::UnattendedRecorder(const RecorderOptions &options, Report report, Clock clock)
    : m_report(std::move(report)), m_clock(std::move(clock)),
      m_pattern(QFile::encodeName(options.pattern).toStdString())
{
    options.applyTo(m_port);
    m_state.multiplier = options.multiplier;
    m_reception.setBeforeDelivery([this] { followClock(); });
    connect(&m_recorder, &ReadingRecorder::failed, this, &UnattendedRecorder::recordingFailed);
    connect(&m_port, &TCustomComPort::deviceVanished, this,
            [this](int systemCode) { TApplication::guard([&] { portLost(systemCode); }); });
    connect(&m_retryTimer, &QTimer::timeout, this, [this] { TApplication::guard([this] { retryPort(); }); });
    m_statusTimer.setInterval(statusPeriodMs);
    connect(&m_statusTimer, &QTimer::timeout, this, [this] { m_report(status()); });
}

UnattendedRecorder::~UnattendedRecorder()
{
    finish();
}

void UnattendedRecorder::start()
{
    m_lookedAt = m_clock();
    m_fileName = m_pattern.nameAt(m_lookedAt);
    // With fields, a first file that cannot be opened waits for the next one as any
    // other does, so that a service restarted on failure never repeats the message.
    if (m_pattern.hasFields())
        startFile(m_fileName);
    else
        m_recorder.start(QFile::decodeName(m_fileName.c_str()));
    m_statusTimer.start();
    openPort();
}

void UnattendedRecorder::finish()
{
    m_retryTimer.stop();
    m_statusTimer.stop();
    TApplication::guard([this] { m_port.ClosePort(); });
    m_recorder.finish();
}

QString UnattendedRecorder::status() const
{
    return QStringLiteral("%1 readings taken, %2 bad readings, %3 bytes written, file %4")
        .arg(readingsTaken())
        .arg(m_decoder.droppedCount())
        .arg(m_recorder.byteCount())
        .arg(m_recorder.isRecording() ? m_recorder.path() : QStringLiteral("none"));
}

// Looks at the clock once a second at most; the delivery about to be decoded goes to the
// file its time names.
void UnattendedRecorder::followClock()
{
    const std::time_t now = m_clock();
    if (now == m_lookedAt || !m_pattern.hasFields())
        return;
    m_lookedAt = now;
    std::string name = m_pattern.nameAt(now);
    if (name != m_fileName)
        startFile(name);
}

// The old file is let go after the new one opened, with all it was given, synced and
// closed on the writer's thread. A name that cannot be opened is reported this once:
// the recording waits for the next name.
void UnattendedRecorder::startFile(const std::string &name)
{
    m_fileName = name;
    try {
        m_recorder.start(QFile::decodeName(name.c_str()));
        m_report(QStringLiteral("recording into %1").arg(m_recorder.path()));
    } catch (const Exception &error) {
        m_recorder.stop();
        recordingFailed(error.message());
    }
}

void UnattendedRecorder::recordingFailed(const QString &message)
{
    m_report(m_pattern.hasFields() ? message + QStringLiteral("; the next file is tried when its time comes")
                                   : message);
    if (!m_pattern.hasFields())
        emit gaveUp();
}

void UnattendedRecorder::openPort()
{
    QString reason;
    if (tryOpen(reason))
        return;
    m_report(QStringLiteral("cannot open %1: %2; trying again every second").arg(portName(), reason));
    startRetrying();
}

bool UnattendedRecorder::tryOpen(QString &reason)
{
    // A reading cut off by a loss must not be joined to the first one after it.
    m_decoder.reset();
    try {
        m_port.OpenPort();
        return true;
    } catch (const Exception &error) {
        reason = error.message();
        return false;
    }
}

void UnattendedRecorder::startRetrying()
{
    m_missingFor.start();
    m_retryTimer.start(quickRetryMs);
}

void UnattendedRecorder::portLost(int systemCode)
{
    m_port.ClosePort();
    m_recorder.flush();
    m_report(QStringLiteral("%1 is gone (%2); opening it again every second")
                 .arg(portName(), QString::fromLocal8Bit(std::strerror(systemCode))));
    startRetrying();
}

void UnattendedRecorder::retryPort()
{
    QString reason;
    if (tryOpen(reason)) {
        m_retryTimer.stop();
        m_report(QStringLiteral("%1 open again after %2 s").arg(portName()).arg(m_missingFor.elapsed() / 1000));
    } else if (m_retryTimer.interval() == quickRetryMs && m_missingFor.elapsed() >= quickRetryPeriodMs) {
        m_retryTimer.setInterval(slowRetryMs);
        m_report(QStringLiteral("%1 still cannot be opened (%2); trying every 10 s from now on").arg(portName(), reason));
    }
}
