// SPDX-License-Identifier: MIT
#include "config/AddressText.h"

#include <QStringList>

#include <algorithm>

namespace config {

namespace {

bool isDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

bool isHexDigit(QChar c) {
    const char16_t u = c.unicode();
    return isDigit(c) || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

} // namespace

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
            part.toUInt() > 255)
            return std::nullopt;
        address[i] = quint8(part.toUInt());
    }
    return address;
}

} // namespace config
