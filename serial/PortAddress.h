#pragma once

#include <QString>
#include <optional>
#include <string>

// A port on another machine, named as pyserial names it: rfc2217://HOST:PORT (Telnet
// with the COM port option, which also carries the line settings) or socket://HOST:PORT
// (the bytes alone). An IPv6 host goes in brackets: rfc2217://[::1]:2000.
struct PortAddress
{
    enum class Protocol { Rfc2217, RawTcp };

    Protocol protocol = Protocol::RawTcp;
    std::string host;
    std::string service; // the TCP port, as digits

    // Whether name is meant as an address rather than a local device: it contains "://".
    static bool looksLikeAddress(const QString &name);
    // The address name gives, or nothing when it is not one of the two forms.
    static std::optional<PortAddress> parse(const QString &name);

    // What is wrong with name as a port when it contains "://" but is not one of the two
    // forms, for a refusal on the command line; an empty text when it is acceptable.
    static QString problem(const QString &name);

    // "HOST port PORT", for messages.
    std::string describe() const;
};
