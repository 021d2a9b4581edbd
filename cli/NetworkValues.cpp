// SPDX-License-Identifier: MIT
#include "cli/NetworkValues.h"

#include <algorithm>

namespace cli {

namespace {

constexpr int kIp = 6;
constexpr int kMask = 10;
constexpr int kGateway = 14;

template <size_t N> std::array<quint8, N> slice(const protocol::NetworkParameters& octets, int first) {
    std::array<quint8, N> out{};
    std::copy_n(octets.octets.begin() + first, N, out.begin());
    return out;
}

template <size_t N>
void place(const std::optional<std::array<quint8, N>>& field, protocol::NetworkParameters& octets,
           int first) {
    if (field)
        std::copy(field->begin(), field->end(), octets.octets.begin() + first);
}

} // namespace

NetworkValues NetworkValues::of(const protocol::NetworkParameters& octets) {
    return {slice<6>(octets, 0), slice<4>(octets, kIp), slice<4>(octets, kMask), slice<4>(octets, kGateway)};
}

protocol::NetworkParameters NetworkValues::applyTo(protocol::NetworkParameters base) const {
    place(mac, base, 0);
    place(ip, base, kIp);
    place(mask, base, kMask);
    place(gateway, base, kGateway);
    return base;
}

NetworkValues NetworkValues::over(const NetworkValues& other) const {
    return {mac ? mac : other.mac, ip ? ip : other.ip, mask ? mask : other.mask,
            gateway ? gateway : other.gateway};
}

} // namespace cli
