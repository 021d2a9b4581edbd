// SPDX-License-Identifier: MIT
#include "config/AddressText.h"

#include <QByteArray>
#include <QStringList>

#include <algorithm>
#include <bit>

namespace config {

namespace {

bool isDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

bool isHexDigit(QChar c) {
    const char16_t u = c.unicode();
    return isDigit(c) || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

quint32 number(const Ipv4Address& address) {
    return quint32(address[0]) << 24 | quint32(address[1]) << 16 | quint32(address[2]) << 8 | address[3];
}

QString text(quint32 value) {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(value >> 24)
        .arg((value >> 16) & 0xFF)
        .arg((value >> 8) & 0xFF)
        .arg(value & 0xFF);
}

} // namespace

std::optional<AddressProblem> addressProblem(const std::optional<MacAddress>& mac,
                                             const std::optional<Ipv4Address>& ip,
                                             const std::optional<Ipv4Address>& mask,
                                             const std::optional<Ipv4Address>& gateway) {
    using Kind = Problem::Kind;
    if (mac && ((*mac)[0] & 0x01))
        return AddressProblem{QStringLiteral("mac"),
                              {Kind::Multicast,
                               {QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(mac->data()),
                                                               qsizetype(mac->size()))
                                                        .toHex(':')
                                                        .toUpper())}}};
    const std::pair<QString, const std::optional<Ipv4Address>*> fields[] = {
        {QStringLiteral("ip"), &ip}, {QStringLiteral("mask"), &mask}, {QStringLiteral("gateway"), &gateway}};
    for (const auto& [field, value] : fields)
        if (*value && number(**value) == 0)
            return AddressProblem{field, {Kind::NoAddress, {}}};
    if (mask) {
        const quint32 bits = number(*mask);
        if ((~bits & (~bits + 1)) != 0) // the zeros after the ones are not all the zeros
            return AddressProblem{QStringLiteral("mask"), {Kind::NotMask, {text(bits)}}};
        if (~bits < 3)
            return AddressProblem{QStringLiteral("mask"), {Kind::MaskLeavesNoRoom, {text(bits)}}};
    }
    if (!ip || !mask)
        return std::nullopt;
    const quint32 host = number(*ip);
    const quint32 bits = number(*mask);
    const QString network = QStringLiteral("%1/%2").arg(text(host & bits)).arg(std::popcount(bits));
    if ((host & ~bits) == 0)
        return AddressProblem{QStringLiteral("ip"), {Kind::NetworkItself, {text(host), network}}};
    if ((host & ~bits) == ~bits)
        return AddressProblem{QStringLiteral("ip"), {Kind::Broadcast, {text(host), network}}};
    if (gateway && (number(*gateway) & bits) != (host & bits))
        return AddressProblem{QStringLiteral("gateway"),
                              {Kind::GatewayOutside, {text(number(*gateway)), network, text(host)}}};
    return std::nullopt;
}

std::optional<MacAddress> parseMac(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 6)
        return std::nullopt;
    MacAddress mac{};
    for (int i = 0; i < 6; ++i) {
        if (parts[i].size() != 2 || !std::all_of(parts[i].begin(), parts[i].end(), isHexDigit))
            return std::nullopt;
        mac[i] = quint8(parts[i].toUInt(nullptr, 16));
    }
    return mac;
}

std::optional<Ipv4Address> parseIpv4(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return std::nullopt;
    Ipv4Address address{};
    for (int i = 0; i < 4; ++i) {
        const QString& part = parts[i];
        if (part.isEmpty() || part.size() > 3 || !std::all_of(part.begin(), part.end(), isDigit) ||
            part.toUInt() > 255 || (part.size() > 1 && part.front() == QLatin1Char('0')))
            return std::nullopt;
        address[i] = quint8(part.toUInt());
    }
    return address;
}

} // namespace config
