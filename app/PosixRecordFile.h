#pragma once

#include "app/RecordFile.h"

#include <QString>
#include <memory>

// A recording file on a POSIX file system: opened once for appending, never replaced.
// The only file that knows open, write, fsync and errno for recordings.
class PosixRecordFile : public RecordFile
{
public:
    // Opens or creates path for appending; raises EFCreateError with the system's reason.
    static std::unique_ptr<RecordFile> open(const QString &path);

    ~PosixRecordFile() override;
    PosixRecordFile(const PosixRecordFile &) = delete;
    PosixRecordFile &operator=(const PosixRecordFile &) = delete;

    bool wasEmpty() const override { return m_wasEmpty; }
    void append(std::string_view bytes) override;
    void sync() override;

private:
    PosixRecordFile(int fd, bool wasEmpty) : m_fd(fd), m_wasEmpty(wasEmpty) {}

    void cutBack(std::size_t written) const;

    int m_fd;
    bool m_wasEmpty;
};
