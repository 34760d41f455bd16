#pragma once

#include "app/PosixRecordFile.h"
#include "runtime/Exception.h"

#include <QByteArray>
#include <QFile>
#include <atomic>
#include <cerrno>
#include <memory>
#include <system_error>

// A recording file on a disc with room for capacity bytes: an append that does not fit
// fails as a full disc does and leaves the file as it was.
class FullDiscFile : public RecordFile
{
public:
    FullDiscFile(const QString &path, std::size_t capacity, std::atomic<bool> &closed)
        : m_file(PosixRecordFile::open(path)), m_room(capacity), m_closed(closed)
    {
    }
    ~FullDiscFile() override { m_closed = true; }

    static QString reason() { return QString::fromStdString(std::generic_category().message(ENOSPC)); }

    bool wasEmpty() const override { return m_file->wasEmpty(); }
    std::size_t append(std::string_view bytes) override
    {
        if (bytes.size() > m_room)
            throw EWriteError(reason());
        m_room -= bytes.size();
        return m_file->append(bytes);
    }
    void sync() override { m_file->sync(); }

private:
    std::unique_ptr<RecordFile> m_file;
    std::size_t m_room;
    std::atomic<bool> &m_closed;
};

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
