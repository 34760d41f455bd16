#pragma once

#include <QByteArray>
#include <QList>

// The UUCP lock file convention for serial devices: LCK..<device name> in the lock
// folder, holding the owner's process id as ten characters and a line end. Terminal
// programs such as minicom and picocom honour it; taking it keeps them out while the
// port is open. Released by release() or with the object.
class UucpLock
{
public:
    enum class Outcome {
        Taken,          // the lock file is ours
        HeldElsewhere,  // a live process holds the lock
        NotPossible     // no lock folder may be written here: nothing to honour
    };

    // Looks in each folder for a holder and takes the lock in the first one that exists.
    explicit UucpLock(QList<QByteArray> folders = {"/var/lock", "/run/lock"});
    ~UucpLock();
    UucpLock(const UucpLock &) = delete;
    UucpLock &operator=(const UucpLock &) = delete;

    // The device's lock file name: "LCK.." and the last part of its real path, so a
    // /dev/serial/by-id link locks the ttyUSB0 it names, as other programs lock it.
    static QByteArray fileName(const QByteArray &devicePath);

    // Takes the lock for the device; a lock left by a process that has ended is removed.
    Outcome acquire(const QByteArray &devicePath);
    // Removes our lock file; harmless when none is held.
    void release();

    // Our lock file while held, else empty.
    QByteArray path() const { return m_path; }

private:
    static bool heldByLiveProcess(const QByteArray &lockPath);
    static bool createOwn(const QByteArray &lockPath);

    QList<QByteArray> m_folders;
    QByteArray m_path;
};
