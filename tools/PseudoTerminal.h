#pragma once

#include "BoardOutput.h"
#include "FileDescriptor.h"

#include <string>

// A pseudo-terminal whose slave side stands in for the board's serial port. The master
// stays open for the simulator's whole life, so the slave path keeps working while
// readers come and go.
class PseudoTerminal : public BoardOutput
{
public:
    PseudoTerminal();

    const std::string &slavePath() const { return m_slavePath; }

    bool readerAttached() override;
    bool waitForReader(const SignalStop &stop) override;
    void send(std::string_view text) override;
    bool sendAll(std::string_view text, const SignalStop &stop) override;
    // Text still queued in a pseudo-terminal is discarded when its master closes, so
    // the last readings are safe only once the reader has let go.
    void finish(const SignalStop &stop) override;

private:
    bool waitUntilAttached(bool attached, const SignalStop &stop);
    void openMaster();
    void prepareSlave();

    FileDescriptor m_master;
    FileDescriptor m_slaveWatch;
    std::string m_slavePath;
};
