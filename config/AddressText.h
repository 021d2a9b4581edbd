// SPDX-License-Identifier: MIT
#pragma once

#include "config/Problem.h"

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
// "192.168.1.100": four decimal numbers of one to three digits, each at most 255, none with a
// leading zero ("010" reads as octal to some tools, as ten to others).
std::optional<Ipv4Address> parseIpv4(const QString& text);

// A field of a unit's network settings that no unit can have, and why.
struct AddressProblem {
    QString field; // "mac", "ip", "mask" or "gateway"
    Problem problem;
    bool operator==(const AddressProblem&) const = default;
};

// The first problem of one unit's network settings, any of them missing: a multicast MAC, an
// address 0.0.0.0, a mask whose ones do not come first or that leaves no room for a unit, an IP
// that is its network's own address or its broadcast address, a gateway outside the IP's network.
std::optional<AddressProblem> addressProblem(const std::optional<MacAddress>& mac,
                                             const std::optional<Ipv4Address>& ip,
                                             const std::optional<Ipv4Address>& mask,
                                             const std::optional<Ipv4Address>& gateway);

} // namespace config
