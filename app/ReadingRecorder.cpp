#include "app/ReadingRecorder.h"

#include "app/PosixRecordFile.h"
#include "app/RecordFormat.h"
#include "app/RecordWriter.h"
#include "runtime/Application.h"
#include "runtime/Exception.h"
#include "runtime/Translation.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

ReadingRecorder::ReadingRecorder(QObject *parent) : QObject(parent), m_open(&PosixRecordFile::open)
{
    // Half a second, so that a line is in the file within a second even when the
    // writer needs a while.
    m_flushTimer.setInterval(500);
    connect(&m_flushTimer, &QTimer::timeout, this, [this] {
        TApplication::guard([this] {
            if (!m_buffer.empty())
                handOver(false);
        });
    });
}

ReadingRecorder::~ReadingRecorder()
{
    finish();
}

void ReadingRecorder::finish()
{
    if (m_file)
        release(true);
    m_flushTimer.stop();
    if (!m_writer)
        return;
    for (const RecordWriter::Unwritten &left : m_writer->finish())
        std::fprintf(stderr, "%s: %zu readings could not be written to %s\n",
                     qPrintable(QCoreApplication::applicationName()), left.readings,
                     QFile::encodeName(left.path).constData());
    m_writer.reset();
}

void ReadingRecorder::start(const QString &path)
{
    m_armedPath.clear();
    std::unique_ptr<RecordFile> file;
    try {
        file = m_open(path);
    } catch (const Exception &error) {
        throw EFCreateError(Translation::appText("Не удалось открыть файл %1 для записи показаний: %2")
                                .arg(path, error.message()));
    }
    if (m_file)
        stop();
    if (!m_writer) {
        // Failures are taken up on the GUI thread from the event loop, never inside a
        // delivery, so that the error box never holds up reception. The call goes by
        // name: the failure itself passes through the writer's own lock.
        m_writer = std::make_unique<RecordWriter>(
            [this] { QMetaObject::invokeMethod(this, "takeFailures", Qt::QueuedConnection); });
    }
    m_file = std::move(file);
    ++m_recording;
    m_path = path;
    m_readings = 0;
    // On its own, so that every buffer after it holds readings only.
    if (m_file->wasEmpty()) {
        m_bytes += RecordFormat::header.size();
        m_writer->write({m_recording, m_path, m_file}, std::string(RecordFormat::header), 0, false);
    }
    m_buffer.reserve(bufferSize + RecordFormat::maxLineLength);
    beginDelivery(); // no line without a time, whoever calls take() first

    m_flushTimer.start();
    emit recordingChanged(true);
}

void ReadingRecorder::startArmed()
{
    if (!m_armedPath.isEmpty())
        start(std::exchange(m_armedPath, {}));
}

void ReadingRecorder::flush()
{
    if (m_file)
        handOver(true);
}

void ReadingRecorder::stop()
{
    if (m_file)
        end(true);
}

void ReadingRecorder::beginDelivery()
{
    if (m_file)
        RecordFormat::formatTime(m_deliveryTime, RecordFormat::now());
}

void ReadingRecorder::take(int channel, std::int32_t value)
{
    if (!m_file)
        return;
    RecordFormat::appendReading(m_buffer, m_deliveryTime, channel, value);
    ++m_readings;
    ++m_bufferReadings;
    if (m_buffer.size() >= bufferSize)
        handOver(false);
}

void ReadingRecorder::handOver(bool sync)
{
    if (m_writer->backlog(m_recording) > maxBacklog) {
        m_writer->addFailure({m_recording, m_path, Translation::appText("диск не успевает за показаниями")});
        end(false);
        return;
    }
    m_bytes += m_buffer.size();
    m_writer->write({m_recording, m_path, m_file}, std::exchange(m_buffer, {}), std::exchange(m_bufferReadings, 0),
                    sync);
    m_buffer.reserve(bufferSize + RecordFormat::maxLineLength);
}

void ReadingRecorder::release(bool sync)
{
    // The writer drops the last reference, so the file closes on its thread too.
    m_bytes += m_buffer.size();
    m_writer->write({m_recording, m_path, std::move(m_file)}, std::exchange(m_buffer, {}),
                    std::exchange(m_bufferReadings, 0), sync);
}

void ReadingRecorder::end(bool sync)
{
    release(sync);
    m_flushTimer.stop();
    emit recordingChanged(false);
}

void ReadingRecorder::takeFailures()
{
    if (!m_writer)
        return; // finished before the call came
    TApplication::guard([this] {
        for (const RecordWriter::Failure &failure : m_writer->takeFailures()) {
            // A disc that fell behind and then failed the write reports once.
            if (failure.recording == m_reported)
                continue;
            m_reported = failure.recording;
            if (failure.recording == m_recording && m_file)
                end(false);
            emit failed(Translation::appText("Запись показаний в файл %1 прервана: %2").arg(failure.path, failure.reason));
        }
    });
}
