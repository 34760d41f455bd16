#pragma once

#include <QString>
#include <QTemporaryDir>
#include <sys/resource.h>

// A folder whose disc runs full on demand. It lies on a small tmpfs of its own when
// this process may mount one (root, as on CI); elsewhere a limit on the size of the
// files this process writes makes a large write fail part-way in the same manner.
class FullFolder
{
public:
    FullFolder();
    ~FullFolder();
    FullFolder(const FullFolder &) = delete;
    FullFolder &operator=(const FullFolder &) = delete;

    // The folder to write in; it holds only what the test puts there.
    QString path() const { return m_path; }
    bool onTmpfs() const { return m_mounted; }

    // From now on a file can take no more than about roomLeft bytes.
    void fill(qint64 roomLeft);

private:
    QTemporaryDir m_root;
    QString m_path;
    bool m_mounted = false;
    bool m_limited = false;
    rlimit m_savedLimit{};
};
