#pragma once

#include <QByteArray>
#include <QString>

// A file written under a temporary name in its folder and put in place under its own
// name only when complete: the earlier file of that name stays whole until then, and a
// symbolic link under that name is replaced, never written through. Over the POSIX
// calls; the only place in the chart that talks to the file system.
class FileOutput
{
public:
    // Throws EFCreateError "Cannot create file "<absolute path>". <system text>".
    explicit FileOutput(const QString &fileName);
    // Without commit() nothing appears under the name and the temporary file goes.
    ~FileOutput();
    FileOutput(const FileOutput &) = delete;
    FileOutput &operator=(const FileOutput &) = delete;

    // Throws EWriteError "Stream write error" unless every byte is stored.
    void write(const QByteArray &bytes);
    // Stores the bytes on the disc and puts the file under its name, replacing what was
    // there. A failure to store is a write error; a name that cannot be replaced is a
    // file creation error.
    void commit();

private:
    QString m_fileName;
    QByteArray m_temporary;  // the file being written, in the target's folder
    int m_fd = -1;
};
