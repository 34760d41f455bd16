#pragma once

#include <QByteArray>
#include <QString>

// A named pipe whose reader never reads, unless the test drains it: a consumer that
// stalls, as seen by the program writing into it.
class StalledPipe
{
public:
    // Makes the pipe at path and opens its reading end.
    explicit StalledPipe(const QString &path);
    ~StalledPipe();
    StalledPipe(const StalledPipe &) = delete;
    StalledPipe &operator=(const StalledPipe &) = delete;

    bool isOpen() const { return m_reader >= 0; }

    // What the pipe holds at most, in bytes.
    int capacity() const;
    // True while nothing has been written, or all was drained.
    bool isEmpty() const;

    // Reads what the writers put in so far.
    QByteArray drain() const;

private:
    int m_reader = -1;
};
