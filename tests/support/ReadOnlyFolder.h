#pragma once

#include <QString>
#include <QTemporaryDir>

// A folder in which nobody may create a file. Root ignores a folder's mode bits, so as
// root the folder is an empty read-only tmpfs mounted by this object; otherwise its mode
// is taken away.
class ReadOnlyFolder
{
public:
    ReadOnlyFolder();
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    // False, with the reason, when the folder could not be made read-only.
    bool ready() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    QString path() const { return m_folder.path(); }

private:
    QTemporaryDir m_folder;
    bool m_mounted = false;
    QString m_error;
};
