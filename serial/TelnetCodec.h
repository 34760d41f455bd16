#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The client side of Telnet with the COM port option (RFC 854, RFC 2217), as bytes in
// and bytes out, with no socket: what arrives is split into the line's data (byte 255
// undoubled), replies that the connection must send back, the server's answers to the
// line settings and its line and modem notifications.
//
// BINARY and SUPPRESS-GO-AHEAD are asked for in both directions so that every byte of
// the line passes unchanged; the COM port option is offered; every other option the
// server proposes is refused.
class TelnetCodec
{
public:
    // The COM port option's client commands; the server answers with 100 added.
    enum Command : std::uint8_t {
        SetBaudRate = 1,
        SetDataSize = 2,
        SetParity = 3,
        SetStopSize = 4,
        SetControl = 5,
        NotifyLineState = 6,
        NotifyModemState = 7,
        SetLineStateMask = 10,
    };

    // What the connection sends first: the options this side wants.
    std::string start();

    // Takes bytes as they came; a command cut between two calls is completed by the next.
    void receive(std::string_view bytes);

    // The line's data gathered so far, handed over once.
    std::string takeData();
    // The replies to the server's proposals gathered so far, handed over once.
    std::string takeReplies();

    // The value of the last answer to command (1 to 5), or nothing since forget().
    std::optional<std::uint32_t> answer(Command command) const;
    void forget(Command command);

    // Line-state bits of the notifications since the last call (overrun 0x02,
    // parity 0x04, framing 0x08, break 0x10), then cleared.
    std::uint8_t takeLineState();
    // The last modem-state notification (CTS 0x10, DSR 0x20, ring 0x40, carrier 0x80).
    std::uint8_t modemState() const { return m_modemState; }

    // One COM port command with its value, 255 doubled inside.
    static std::string command(Command command, std::uint32_t value, int width);

private:
    enum class State { Data, Iac, Option, Sub, SubIac };

    void onByte(std::uint8_t byte);
    void onOption(std::uint8_t verb, std::uint8_t option);
    void settle(bool &settled, bool offered, std::uint8_t yes, std::uint8_t no, std::uint8_t option);
    void onSubnegotiation();
    void reply(std::uint8_t verb, std::uint8_t option);

    State m_state = State::Data;
    std::uint8_t m_verb = 0;
    std::string m_sub;
    std::string m_data;
    std::string m_replies;
    std::array<std::optional<std::uint32_t>, 6> m_answers;
    std::uint8_t m_lineState = 0;
    std::uint8_t m_modemState = 0;
    // Options whose state this side has already settled, so that a repeated proposal
    // is not answered again (no negotiation loops).
    std::array<bool, 256> m_localSettled{};
    std::array<bool, 256> m_remoteSettled{};
};
