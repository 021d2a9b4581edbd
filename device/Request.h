// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/ForwardFrame.h"
#include "protocol/Reply.h"
#include "protocol/Result.h"

#include <QByteArray>

#include <optional>

// One request to the device: the bytes to write and the reply they draw.
namespace device {

// The reply a request draws: its code and its whole size on the wire.
struct Expectation {
    quint8 code = 0;
    int size = 0;
    bool operator==(const Expectation&) const = default;
};

struct Request {
    enum class Kind { Connect, ReadPorts, WritePorts, Restore, ReadNetwork, WriteNetwork, Forward };

    Kind kind = Kind::Connect;
    QByteArray bytes;
    std::optional<Expectation> expects; // none: the request completes once it is written

    bool operator==(const Request&) const = default;

    static Request connect();     // 40 02 F1 23, answered 40 02 E1 23
    static Request readPorts();   // 40 02 FB 23, answered by the 30-byte port configuration
    static Request restore();     // 40 03 ED EE 23, answered 40 02 E4 23
    static Request readNetwork(); // 40 02 CA 23, answered by the 22-byte network parameters
    // The 30-byte port-set frame, answered 40 02 E2 23; the bytes "设置串口参数" sends for panels
    // that show these codes.
    static Request writePorts(const protocol::PortConfiguration& codes);
    // The 22-byte network write frame, answered 40 02 E5 23.
    static Request writeNetwork(const protocol::NetworkParameters& octets);
    // The console's forward frame: the data goes out of extension port `port`; nothing answers.
    // Refused as the console refuses it: Empty, TooLong or BadPort.
    static protocol::Result<Request, protocol::ForwardFault> forward(int port, const QByteArray& data);
};

} // namespace device
