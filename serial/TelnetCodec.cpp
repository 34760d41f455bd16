#include "serial/TelnetCodec.h"

#include <utility>

namespace {

constexpr std::uint8_t IAC = 255;
constexpr std::uint8_t DONT = 254;
constexpr std::uint8_t DO = 253;
constexpr std::uint8_t WONT = 252;
constexpr std::uint8_t WILL = 251;
constexpr std::uint8_t SB = 250;
constexpr std::uint8_t SE = 240;

constexpr std::uint8_t binary = 0;
constexpr std::uint8_t suppressGoAhead = 3;
constexpr std::uint8_t comPort = 44;
constexpr std::uint8_t answerOffset = 100;

bool wanted(std::uint8_t option)
{
    return option == binary || option == suppressGoAhead || option == comPort;
}

std::string sequence(std::uint8_t verb, std::uint8_t option)
{
    return {char(IAC), char(verb), char(option)};
}

} // namespace

std::string TelnetCodec::start()
{
    std::string out;
    for (std::uint8_t option : {binary, suppressGoAhead}) {
        out += sequence(WILL, option);
        out += sequence(DO, option);
        m_localSettled[option] = m_remoteSettled[option] = true;
    }
    out += sequence(WILL, comPort);
    m_localSettled[comPort] = true;
    return out;
}

void TelnetCodec::receive(std::string_view bytes)
{
    for (char byte : bytes)
        onByte(std::uint8_t(byte));
}

void TelnetCodec::onByte(std::uint8_t byte)
{
    switch (m_state) {
    case State::Data:
        if (byte == IAC)
            m_state = State::Iac;
        else
            m_data += char(byte);
        return;
    case State::Iac:
        if (byte == IAC) {
            m_data += char(IAC);
            m_state = State::Data;
        } else if (byte >= WILL) {
            m_verb = byte;
            m_state = State::Option;
        } else if (byte == SB) {
            m_sub.clear();
            m_state = State::Sub;
        } else {
            m_state = State::Data; // NOP, GA, AYT and the like carry nothing for the line
        }
        return;
    case State::Option:
        onOption(m_verb, byte);
        m_state = State::Data;
        return;
    case State::Sub:
        if (byte == IAC)
            m_state = State::SubIac;
        else
            m_sub += char(byte);
        return;
    case State::SubIac:
        if (byte == SE) {
            onSubnegotiation();
            m_state = State::Data;
        } else {
            // IAC IAC is a 255 in the value; anything else ends a malformed one unread.
            if (byte == IAC)
                m_sub += char(byte);
            m_state = byte == IAC ? State::Sub : State::Data;
        }
        return;
    }
}

void TelnetCodec::onOption(std::uint8_t verb, std::uint8_t option)
{
    switch (verb) {
    case WILL: // the server offers to do something: take what we want, refuse the rest
        return settle(m_remoteSettled[option], true, DO, DONT, option);
    case WONT:
        return settle(m_remoteSettled[option], false, DO, DONT, option);
    case DO: // the server asks this side to do something
        return settle(m_localSettled[option], true, WILL, WONT, option);
    case DONT:
        return settle(m_localSettled[option], false, WILL, WONT, option);
    }
}

// One side of one option: an offer or request is taken when wanted and refused otherwise,
// a withdrawal is acknowledged. Only a change is answered, so two sides never echo each
// other's replies for ever.
void TelnetCodec::settle(bool &settled, bool offered, std::uint8_t yes, std::uint8_t no, std::uint8_t option)
{
    const bool on = offered && wanted(option);
    if (offered ? (!settled || !on) : settled)
        reply(on ? yes : no, option);
    settled = on;
}

void TelnetCodec::reply(std::uint8_t verb, std::uint8_t option)
{
    m_replies += sequence(verb, option);
}

void TelnetCodec::onSubnegotiation()
{
    if (m_sub.size() < 2 || std::uint8_t(m_sub[0]) != comPort)
        return;
    const int code = std::uint8_t(m_sub[1]) - answerOffset;
    std::uint32_t value = 0;
    for (std::size_t i = 2; i < m_sub.size(); ++i)
        value = (value << 8) | std::uint8_t(m_sub[i]);
    if (code >= SetBaudRate && code <= SetControl)
        m_answers[std::size_t(code)] = value;
    else if (code == NotifyLineState)
        m_lineState |= std::uint8_t(value) & 0x1E;
    else if (code == NotifyModemState)
        m_modemState = std::uint8_t(value) & 0xF0;
}

std::string TelnetCodec::takeData()
{
    return std::exchange(m_data, {});
}

std::string TelnetCodec::takeReplies()
{
    return std::exchange(m_replies, {});
}

std::optional<std::uint32_t> TelnetCodec::answer(Command command) const
{
    return command <= SetControl ? m_answers[command] : std::nullopt;
}

void TelnetCodec::forget(Command command)
{
    if (command <= SetControl)
        m_answers[command].reset();
}

std::uint8_t TelnetCodec::takeLineState()
{
    return std::exchange(m_lineState, 0);
}

std::string TelnetCodec::command(Command command, std::uint32_t value, int width)
{
    std::string out = {char(IAC), char(SB), char(comPort), char(command)};
    for (int shift = (width - 1) * 8; shift >= 0; shift -= 8) {
        const char byte = char((value >> shift) & 0xFF);
        out += byte;
        if (std::uint8_t(byte) == IAC)
            out += byte;
    }
    out += char(IAC);
    out += char(SE);
    return out;
}
