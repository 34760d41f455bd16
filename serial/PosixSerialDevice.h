#pragma once

#include "serial/SerialDevice.h"
#include "serial/UucpLock.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

// The serial line as the operating system offers it: a tty device driven through
// termios and ioctl. This is the one place where the engine meets the kernel's serial
// interface.
class PosixSerialDevice : public SerialDevice
{
public:
    // The line as the driver reports it after configuration.
    struct LineState
    {
        int rate = 0;           // bits per second
        int dataBits = 0;
        char parity = 'N';      // N, O, E, M (mark) or S (space)
        bool twoStopBits = false;
        bool rtsCts = false;
        bool xonXoffOut = false;
        bool xonXoffIn = false;
        bool parityCheck = false;
        char xonChar = 0;
        char xoffChar = 0;
    };

    PosixSerialDevice() = default;
    ~PosixSerialDevice() override;

    // "/dev/" + port, or port itself when it is already a path.
    static QByteArray devicePath(const QString &port);

    // Opens the device for this program alone; code 1 on failure: ENOTTY for anything
    // but a character device, EBUSY when another program has it open or locked. Holds
    // the device's UUCP lock while open.
    void open(const QString &port) override;
    // Restores the line as it was found and releases the device; harmless when closed.
    void close() override;
    bool isOpen() const override { return m_fd >= 0; }
    int handle() const override { return m_fd; }
    // Our UUCP lock file while open; empty when the lock folder may not be written.
    QByteArray lockFile() const { return m_uucpLock.path(); }

    // The device is gone: unplugged, or the other side of a pseudo-terminal closed.
    bool hungUp() const override;

    // Linux sizes its queues itself: the sizes are kept; code 9 only when not open.
    void setupQueues(int inputSize, int outputSize) override;
    // Code 7 when the driver refuses the record or silently keeps another rate.
    void applyLineSettings(const TDCB &dcb) override;
    // Kept for read(); code 8 only when not open.
    void applyTimeouts(const TCommTimeouts &timeouts) override;

    // Fetches and clears the line-status flags and counts the input queue; code 10.
    QueueStatus queueStatus() override;
    // Code 11 on a real failure; a device without modem lines reads as all off.
    std::uint32_t modemStatus() override;
    // Ends every read in progress on other threads with code 3; code 5 when not open.
    void abortPendingIO() override;
    // Drops whatever is queued in both directions; the result is not examined.
    void purge() override;

    // Reads up to count bytes into data, waiting as the time-outs say; code 3.
    int read(char *data, int count) override;

    LineState lineState() const;
    // What a line-settings record asks of the driver, read as lineState() reads the
    // driver: the flags a pseudo-terminal drops (parity and its check) show here.
    static LineState requestedLineState(const TDCB &dcb);

private:
    class ReadRecord;

    [[noreturn]] static void fail(int code);
    [[noreturn]] static void fail(int code, int error);

    void claim(int fd, const QByteArray &path);
    static void reportRefusal(const QByteArray &path, const std::string &holder);

    int readAvailable(char *data, int count, bool &hungUp);
    int waitForMore(char *data, int count, int got, const ReadRecord &record);
    void applyModemLines(const TDCB &dcb);
    void takeLineErrors(QueueStatus &status);

    int m_fd = -1;
    QByteArray m_savedState;  // the termios found at open, restored at close
    UucpLock m_uucpLock;
    int m_inputQueueSize = 0;
    int m_outputQueueSize = 0;

    // The members below are shared between the reading thread, the event thread and
    // the GUI thread.
    std::mutex m_mutex;
    TCommTimeouts m_timeouts;
    std::vector<int> m_lineErrorCounts;  // counters at the last queueStatus(); empty
                                         // when the driver keeps none
    std::vector<ReadRecord *> m_pendingReads;
};
