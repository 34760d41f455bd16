#pragma once

#include "app/RecordFile.h"

#include <QString>
#include <memory>

// A recording target on a POSIX system: a file opened once for appending and never
// replaced, or a FIFO, socket or terminal written without blocking. The only file that
// knows open, write, fsync and errno for recordings.
class PosixRecordFile : public RecordFile
{
public:
    // Opens or creates path for appending; a socket is connected to, and "-" is the
    // program's standard output. Raises EFCreateError with the system's reason.
    static std::unique_ptr<RecordFile> open(const QString &path);

    ~PosixRecordFile() override;
    PosixRecordFile(const PosixRecordFile &) = delete;
    PosixRecordFile &operator=(const PosixRecordFile &) = delete;

    bool wasEmpty() const override { return m_wasEmpty; }
    std::size_t append(std::string_view bytes) override;
    void sync() override;
    int readyDescriptor() const override { return m_kind == Kind::Disc ? -1 : m_fd; }

private:
    enum class Kind {
        Disc,   // a regular file: takes everything, blocking if it must
        Stream, // a pipe, FIFO or terminal, opened non-blocking
        Socket  // sent to with MSG_DONTWAIT: its description may be shared
    };

    PosixRecordFile(int fd, Kind kind, bool wasEmpty) : m_fd(fd), m_kind(kind), m_wasEmpty(wasEmpty) {}

    static int openStandardOutput();
    static int openPath(const QByteArray &name);
    std::size_t appendAll(std::string_view bytes);
    std::size_t appendWhatFits(std::string_view bytes);
    void cutBack(std::size_t written) const;

    int m_fd;
    Kind m_kind;
    bool m_wasEmpty;
};
