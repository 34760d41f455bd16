#pragma once

#include "serial/CommTimeouts.h"
#include "serial/DCB.h"

#include <QString>
#include <cstdint>

// What the port needs of a line: a local tty (PosixSerialDevice) or a port served over
// the network (NetworkSerialDevice). Every failure leaves as EComPort with the engine's
// code and errno.
//
// The event thread waits on handle() (and wakeHandle()) while another thread reads, so
// read() and abortPendingIO() may run concurrently with each other and with the wait.
class SerialDevice
{
public:
    // Line-status flags as the engine numbers them (framing 0x0008, parity 0x0004,
    // overrun 0x0002, input overflow 0x0001, break 0x0010), and the input queue.
    struct QueueStatus
    {
        std::uint32_t errorFlags = 0;
        int inputCount = 0;
    };

    // Modem status bits: CTS 0x10, DSR 0x20, ring 0x40, carrier detect 0x80.
    static constexpr std::uint32_t modemCts = 0x10;
    static constexpr std::uint32_t modemDsr = 0x20;
    static constexpr std::uint32_t modemRing = 0x40;
    static constexpr std::uint32_t modemRlsd = 0x80;

    virtual ~SerialDevice() = default;

    // Code 1 on failure.
    virtual void open(const QString &port) = 0;
    // Releases the line; harmless when closed.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // The descriptor whose arrivals the event thread waits for.
    virtual int handle() const = 0;
    // A second one, readable when the device holds received bytes that no arrival on
    // handle() announces any more; -1 when there is none.
    virtual int wakeHandle() const { return -1; }
    // The line is gone: unplugged, or the other side closed.
    virtual bool hungUp() const = 0;

    virtual void setupQueues(int inputSize, int outputSize) = 0;
    // Code 7 when the line refuses the record or keeps another rate.
    virtual void applyLineSettings(const TDCB &dcb) = 0;
    virtual void applyTimeouts(const TCommTimeouts &timeouts) = 0;
    // Fetches and clears the line-status flags and counts the input queue; code 10.
    virtual QueueStatus queueStatus() = 0;
    // Code 11 on a real failure; a line without modem lines reads as all off.
    virtual std::uint32_t modemStatus() = 0;
    // Ends every read in progress on other threads with code 3; code 5 when not open.
    virtual void abortPendingIO() = 0;
    // Drops whatever is queued; the result is not examined.
    virtual void purge() = 0;
    // Reads up to count bytes into data, waiting as the time-outs say; code 3.
    virtual int read(char *data, int count) = 0;

protected:
    SerialDevice() = default;
    SerialDevice(const SerialDevice &) = delete;
    SerialDevice &operator=(const SerialDevice &) = delete;
};
