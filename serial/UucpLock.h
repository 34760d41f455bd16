#pragma once

#include <QByteArray>
#include <QList>

#include <string_view>
#include <sys/types.h>

// The UUCP lock file convention for serial devices: LCK..<device name> in the lock
// folder, holding the owner's process id as ten characters and a line end. Terminal
// programs such as minicom and picocom honour it; taking it keeps them out while the
// port is open. Released by release() or with the object.
//
// The lock folder may be written by every local user: what lies there is read without
// blocking and without following links, and whatever cannot be understood as another
// program's lock counts as held and is left alone.
class UucpLock
{
public:
    enum class Outcome {
        Taken,          // the lock file is ours
        HeldElsewhere,  // a live process, or something that cannot be understood, holds it
        NotPossible     // no lock folder may be written here: nothing to honour
    };

    // Looks in each folder for a holder and takes the lock in the first one that exists.
    explicit UucpLock(QList<QByteArray> folders = {"/var/lock", "/run/lock"});
    virtual ~UucpLock();
    UucpLock(const UucpLock &) = delete;
    UucpLock &operator=(const UucpLock &) = delete;

    // The device's lock file name: "LCK.." and its real path below /dev with "/" made
    // "_" (LCK..ttyUSB0, LCK..pts_3), so a /dev/serial/by-id link locks the device it
    // names, as other programs lock it.
    static QByteArray fileName(const QByteArray &devicePath);

    // The process id a lock file's content names: ten characters and a line end, or four
    // bytes of a binary integer; 0 when it is neither, or names no process id the kernel
    // could give.
    static pid_t ownerIn(std::string_view content);

    // Takes the lock for the device; a lock left by a process that has ended is removed.
    Outcome acquire(const QByteArray &devicePath);
    // Removes our lock file, if it is still the one we made; harmless when none is held.
    void release();

    // Our lock file while held, else empty.
    QByteArray path() const { return m_path; }
    // After HeldElsewhere: the lock file and its holder, for the user to act on.
    QByteArray refusal() const { return m_refusal; }

protected:
    // Runs between the look at a lock and its removal: where a test changes the lock.
    virtual void beforeRemoval(const QByteArray &lockPath);

private:
    struct Found;

    bool heldElsewhere(const QByteArray &lockPath);
    bool removeUnchanged(const QByteArray &lockPath, const Found &looked);
    bool createOwn(const QByteArray &lockPath);

    QList<QByteArray> m_folders;
    QByteArray m_path;
    dev_t m_device = 0; // of our lock file, to know it again
    ino_t m_inode = 0;
    QByteArray m_refusal;
};
