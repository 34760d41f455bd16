#pragma once

// The checks the Qt programs' command-line targets share.

#include "fuzz/FuzzArguments.h"
#include "serial/PortAddress.h"

#include <QStringList>

inline QStringList qtArgumentsIn(const std::uint8_t *data, std::size_t size, const char *program)
{
    QStringList arguments;
    for (const std::string &argument : argumentsIn(data, size, program))
        arguments.append(QString::fromStdString(argument));
    return arguments;
}

// A refusal is one line, unless an argument it quotes brought its own line ends.
inline void checkOneLine(const QString &refusal, const QStringList &arguments)
{
    const QString text = refusal.endsWith(u'\n') ? refusal.chopped(1) : refusal;
    if (text.contains(u'\n') && !arguments.join(QString()).contains(u'\n'))
        std::abort();
}

// A port name the program takes: a local device, or an address whose parts, written out
// again, read back as the same address.
inline void checkPort(const QString &name)
{
    if (!PortAddress::problem(name).isEmpty())
        std::abort();
    const std::optional<PortAddress> address = PortAddress::parse(name);
    if (!address)
        return;
    const int number = std::atoi(address->service.c_str());
    if (address->host.empty() || number < 1 || number > 65535 || std::to_string(number) != address->service)
        std::abort();
    const bool v6 = address->host.find(':') != std::string::npos;
    const std::string scheme = address->protocol == PortAddress::Protocol::Rfc2217 ? "rfc2217://" : "socket://";
    const std::string written = scheme + (v6 ? '[' + address->host + ']' : address->host) + ':' + address->service;
    const std::optional<PortAddress> again = PortAddress::parse(QString::fromStdString(written));
    if (!again || again->protocol != address->protocol || again->host != address->host
        || again->service != address->service)
        std::abort();
}
