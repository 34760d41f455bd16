#pragma once

#include <QString>
#include <string_view>

// A fresh pseudo-terminal: the test plays the board on the master side, the serial
// engine opens the slave side by its path.
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    QString slavePath() const { return m_slavePath; }

    // Sends bytes as the board would; every byte is written before this returns.
    void write(std::string_view bytes);

    // Writes what the pseudo-terminal takes at once, waiting at most waitMs for room;
    // returns how many bytes went. Never blocks longer, so a writer can always stop.
    std::size_t tryWrite(std::string_view bytes, int waitMs);

    // Closes the master: to the engine the device has vanished.
    void closeMaster();

private:
    int m_master = -1;
    QString m_slavePath;
};
