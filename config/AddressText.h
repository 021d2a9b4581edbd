// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <array>
#include <optional>

// The network module's addresses as people write them: what the profile file, the command line
// and a units file accept.
namespace config {

using MacAddress = std::array<quint8, 6>;
using Ipv4Address = std::array<quint8, 4>;

// "00:08:DC:01:02:03": six pairs of hex digits, either case, separated by colons.
std::optional<MacAddress> parseMac(const QString& text);
// "192.168.1.100": four decimal numbers of one to three digits, each at most 255.
std::optional<Ipv4Address> parseIpv4(const QString& text);

} // namespace config
