#pragma once

#include "serial/PortAddress.h"
#include "serial/SerialDevice.h"
#include "serial/TcpConnection.h"
#include "serial/TelnetCodec.h"

#include <chrono>
#include <functional>
#include <mutex>
#include <string>

// A serial port that a port server (ser2net) offers on the network, as
// rfc2217://HOST:PORT (Telnet with the COM port option: the line settings go to the
// server and are awaited) or socket://HOST:PORT (the bytes alone; the server's own
// configuration decides the line).
//
// Whoever needs bytes takes them from the socket, under the lock: the delivery counting
// the queue, a read, the wait for the server's answers to line settings. Telnet commands
// are taken out on the way, so the queue holds the line's data only and a delivery of
// commands alone counts nothing. Bytes taken off the socket are announced on wakeHandle(),
// since the socket no longer announces them; the count at a delivery clears that.
class NetworkSerialDevice : public SerialDevice
{
public:
    // How long the server has to answer the line settings.
    static constexpr std::chrono::milliseconds answerLimit{2000};
    // A raw port has nothing to answer: this long after the connect, a server that
    // closes at once (the port is another client's) is told from one that serves.
    static constexpr std::chrono::milliseconds refusalTime{300};

    NetworkSerialDevice() = default;
    ~NetworkSerialDevice() override;

    // Connects within TcpConnection::connectLimit while the windows keep painting.
    // Code 1 with the connect's errno (a line on stderr names host and port), or with
    // EBUSY when the server hands the port to another client (its text on stderr).
    void open(const QString &port) override;
    void close() override;
    bool isOpen() const override { return m_connection.handle() >= 0; }
    int handle() const override { return m_connection.handle(); }
    int wakeHandle() const override { return m_wake; }
    bool hungUp() const override;

    void setupQueues(int inputSize, int outputSize) override;
    // RFC 2217 sends the line format and flow control and awaits the server's answers:
    // code 7 with ETIMEDOUT when they do not come, EINVAL when one differs. Raw: kept.
    void applyLineSettings(const TDCB &dcb) override;
    void applyTimeouts(const TCommTimeouts &timeouts) override;
    // After the server has gone, the queue's last bytes are still counted and read;
    // then the device reads as hung up.
    QueueStatus queueStatus() override;
    // As the server's last modem-state notification said; all off on a raw port.
    std::uint32_t modemStatus() override;
    void abortPendingIO() override;
    void purge() override;
    int read(char *data, int count) override;

private:
    using Lock = std::unique_lock<std::mutex>;

    bool telnet() const { return m_address.protocol == PortAddress::Protocol::Rfc2217; }
    void connect();
    void refuseIfInUse(Lock &lock);
    void takeArrivals(bool announce);
    void sendToServer(std::string_view bytes);
    bool awaitArrivals(Lock &lock, const std::function<bool()> &done, std::chrono::milliseconds limit);
    int takeInput(char *data, int count);
    int waitForMore(Lock &lock, char *data, int count, int got);
    void endIfDrained();
    void announceQueued();
    void signal(int fd);
    static void drain(int fd);

    PortAddress m_address;
    TcpConnection m_connection;
    int m_wake = -1;   // eventfd: queued bytes or the end, for the event thread
    int m_abort = -1;  // eventfd: ends waiting reads

    // Shared between the reading thread, the event thread and the GUI thread.
    mutable std::mutex m_mutex;
    TelnetCodec m_codec;
    std::string m_input;        // the line's data, not yet read
    bool m_peerClosed = false;
    int m_peerError = 0;
    TCommTimeouts m_timeouts;
    int m_waitingReads = 0;
    bool m_announced = false;      // the wake descriptor is signalled
    bool m_readSinceCount = false; // a read came after the last count
};
