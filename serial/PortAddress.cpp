#include "serial/PortAddress.h"

#include <QRegularExpression>

bool PortAddress::looksLikeAddress(const QString &name)
{
    return name.contains(QLatin1String("://"));
}

std::optional<PortAddress> PortAddress::parse(const QString &name)
{
    // A host name, an IPv4 address, or an IPv6 address in brackets; then a port number.
    static const QRegularExpression form(
        QStringLiteral(R"(^(rfc2217|socket)://(?:\[([0-9A-Fa-f:.]+)\]|([A-Za-z0-9.-]+)):([0-9]{1,5})$)"));
    const QRegularExpressionMatch match = form.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    const int number = match.captured(4).toInt();
    if (number < 1 || number > 65535)
        return std::nullopt;
    PortAddress address;
    address.protocol = match.captured(1) == QLatin1String("rfc2217") ? Protocol::Rfc2217 : Protocol::RawTcp;
    address.host = (match.hasCaptured(2) && !match.captured(2).isEmpty() ? match.captured(2) : match.captured(3)).toStdString();
    address.service = std::to_string(number);
    return address;
}

QString PortAddress::problem(const QString &name)
{
    if (!looksLikeAddress(name) || parse(name))
        return {};
    return QStringLiteral("a port on the network is rfc2217://HOST:PORT or socket://HOST:PORT");
}

std::string PortAddress::describe() const
{
    return host + " port " + service;
}
