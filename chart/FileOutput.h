#pragma once

#include <QByteArray>
#include <QString>

// A file opened for writing with "create" semantics (an existing file is replaced),
// over the POSIX calls; the only place in the chart that talks to the file system.
class FileOutput
{
public:
    // Throws EFCreateError "Cannot create file "<absolute path>". <system text>".
    explicit FileOutput(const QString &fileName);
    ~FileOutput();
    FileOutput(const FileOutput &) = delete;
    FileOutput &operator=(const FileOutput &) = delete;

    // Throws EWriteError "Stream write error" unless every byte is stored.
    void write(const QByteArray &bytes);
    // Closes the file; a failure to store what was written is a write error too.
    void close();

private:
    int m_fd = -1;
};
