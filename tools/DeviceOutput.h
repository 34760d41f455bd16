#pragma once

#include "BoardOutput.h"
#include "FileDescriptor.h"

#include <string>

// A device given on the command line, a real serial port or a null-modem pair, say.
// Its reader is out of sight, so it always counts as attached.
class DeviceOutput : public BoardOutput
{
public:
    explicit DeviceOutput(const std::string &path);

    bool readerAttached() override;
    bool waitForReader(const SignalStop &stop) override;
    void send(std::string_view text) override;
    bool sendAll(std::string_view text, const SignalStop &stop) override;
    // Nothing to wait for: closing a serial port already lets its queue drain.
    void finish(const SignalStop &stop) override;

private:
    FileDescriptor m_device;
};
