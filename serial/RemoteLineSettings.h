#pragma once

#include "serial/DCB.h"
#include "serial/TelnetCodec.h"

#include <array>
#include <cstdint>

// One line setting as an RFC 2217 server is asked for it: its COM-PORT-OPTION command and
// the value in the protocol's own numbering.
struct RemoteLineSetting
{
    TelnetCodec::Command command;
    std::uint32_t value;
    int width; // bytes of the value on the wire
};

// What a line-settings record asks of the server's port, in the order it is sent: rate,
// data bits, parity, stop bits, flow control. Only values the record's ranges allow.
std::array<RemoteLineSetting, 5> remoteLineSettings(const TDCB &dcb);
