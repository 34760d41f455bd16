#include "serial/RemoteLineSettings.h"

namespace {

std::uint8_t stopSize(std::uint8_t stopBits)
{
    static constexpr std::uint8_t sizes[] = {1, 3, 2}; // one, one and a half, two
    return sizes[stopBits];
}

std::uint8_t flowControl(const TDCB &dcb)
{
    if ((dcb.Flags & TDCB::fOutxCtsFlow) || dcb.rtsControl() == 2)
        return 3;
    if (dcb.Flags & (TDCB::fOutX | TDCB::fInX))
        return 2;
    return 1;
}

} // namespace

std::array<RemoteLineSetting, 5> remoteLineSettings(const TDCB &dcb)
{
    return {{{TelnetCodec::SetBaudRate, dcb.BaudRate, 4},
             {TelnetCodec::SetDataSize, dcb.ByteSize, 1},
             {TelnetCodec::SetParity, std::uint32_t(dcb.Parity + 1), 1}, // the protocol counts none as 1
             {TelnetCodec::SetStopSize, stopSize(dcb.StopBits), 1},
             {TelnetCodec::SetControl, flowControl(dcb), 1}}};
}
