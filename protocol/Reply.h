// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/Frame.h"

#include <QByteArray>

#include <array>
#include <variant>

// The device's replies, decoded. Field codes stay raw here; turning them into list entries is
// the option tables' business.
namespace protocol {

struct ConnectConfirmed {
    bool operator==(const ConnectConfirmed&) const = default;
};
struct PortSetConfirmed {
    bool operator==(const PortSetConfirmed&) const = default;
};
struct RestoreConfirmed {
    bool operator==(const RestoreConfirmed&) const = default;
};
struct NetworkSetConfirmed {
    bool operator==(const NetworkSetConfirmed&) const = default;
};

struct NetworkParameters {
    std::array<quint8, frame::NetworkOctets> octets{}; // MAC 0-5, IP 6-9, mask 10-13, gateway 14-17
    bool operator==(const NetworkParameters&) const = default;
};

struct PortRecord {
    quint8 baudCode = 0;
    quint8 lineByte = 0;
    quint8 functionCode = 0;
    bool operator==(const PortRecord&) const = default;
};

struct PortConfiguration {
    std::array<PortRecord, frame::PortCount> ports{};
    quint8 mainBaudCode = 0;
    quint8 outputSwitch = 0;
    bool operator==(const PortConfiguration&) const = default;
};

// Anything that is not acted on: a bad start or end byte, an unknown code, a short data reply.
struct Unrecognised {
    bool operator==(const Unrecognised&) const = default;
};

using Reply = std::variant<Unrecognised, ConnectConfirmed, PortSetConfirmed, RestoreConfirmed,
                           NetworkSetConfirmed, NetworkParameters, PortConfiguration>;

// One reply of a burst: its bytes and what they mean.
struct ReplySegment {
    QByteArray bytes;
    Reply reply;
};

} // namespace protocol
