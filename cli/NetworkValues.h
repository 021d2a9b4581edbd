// SPDX-License-Identifier: MIT
#pragma once

#include "config/AddressText.h"
#include "protocol/Reply.h"

#include <optional>

// The network parameters given for one unit, field by field: by the profile, a units file or the
// command line. A field not given keeps what the device holds.
namespace cli {

struct NetworkValues {
    std::optional<config::MacAddress> mac{};
    std::optional<config::Ipv4Address> ip{};
    std::optional<config::Ipv4Address> mask{};
    std::optional<config::Ipv4Address> gateway{};

    bool operator==(const NetworkValues&) const = default;

    bool isEmpty() const { return !mac && !ip && !mask && !gateway; }
    bool isComplete() const { return mac && ip && mask && gateway; }

    // Every field of the octets.
    static NetworkValues of(const protocol::NetworkParameters& octets);
    // `base` with the fields given here in place of its own.
    protocol::NetworkParameters applyTo(protocol::NetworkParameters base) const;
    // These values, with `other`'s where these give none.
    NetworkValues over(const NetworkValues& other) const;
};

// `address` + `steps`, counting the address as one big-endian number; nullopt past the last
// address (all octets 255).
template <size_t N>
std::optional<std::array<quint8, N>> advance(std::array<quint8, N> address, quint64 steps) {
    for (size_t i = N; i-- > 0 && steps > 0;) {
        const quint64 sum = address[i] + steps;
        address[i] = quint8(sum & 0xFF);
        steps = sum >> 8;
    }
    if (steps > 0)
        return std::nullopt;
    return address;
}

} // namespace cli
