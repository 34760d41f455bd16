#pragma once

#include <string>
#include <string_view>

class SignalStop;

// Where the simulated board's text goes: a pseudo-terminal of its own or a device.
class BoardOutput
{
public:
    virtual ~BoardOutput() = default;

    // True while some program holds the line open to read it.
    virtual bool readerAttached() = 0;

    // Blocks until a reader is attached; false when a stop came first.
    virtual bool waitForReader(const SignalStop &stop) = 0;

    // Sends text. What the line cannot take right now is dropped, as a board's UART
    // would lose it: the simulator never blocks or spins on a full or absent reader.
    virtual void send(std::string_view text) = 0;

    // Sends all of text, waiting for room as long as the line needs: a replay loses
    // nothing. False when the reader left or a stop came first.
    virtual bool sendAll(std::string_view text, const SignalStop &stop) = 0;

    // Called after the last reading: returns once the text cannot be lost any more.
    virtual void finish(const SignalStop &stop) = 0;

protected:
    // Writes what fd takes now and drops the rest; throws on errors other than a full
    // queue or a reader gone (EAGAIN, EIO).
    static void writeOrDrop(int fd, std::string_view text);

    // Writes all of text to fd, waiting for room while a reader is attached; throws on
    // errors other than a full queue or a reader gone.
    bool writeAll(int fd, std::string_view text, const SignalStop &stop);

    // Raw mode: bytes pass unchanged, no echo, no line editing. Throws on failure.
    static void makeRaw(int fd);

    // An exception for a failed system call, with errno's text.
    static std::string systemError(const std::string &what);
};
