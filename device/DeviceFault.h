// SPDX-License-Identifier: MIT
#pragma once

#include "device/Request.h"

#include <QByteArray>
#include <QString>

// Why a request to the device did not get its reply.
namespace device {

struct DeviceFault {
    enum class Kind {
        NoAnswer,        // nothing came back, after every attempt
        PortLost,        // the port failed under the client (device unplugged)
        PortNotOpen,     // the port was not open, or was closed before the reply came
        Malformed,       // bytes that are not a frame, or a frame of the wrong size for its code
        UnexpectedReply, // a well-formed frame with another reply code
    };

    Kind kind = Kind::NoAnswer;
    QByteArray bytes; // Malformed, UnexpectedReply: what came
    Expectation expected;
    int attempts = 0; // how often the request was written

    bool operator==(const DeviceFault&) const = default;

    // Plain English for the command line, e.g. "no answer after 3 attempts",
    // "malformed reply 4002E124: end byte 24", "unexpected reply 4002E223 (port set done), expected E1".
    QString message() const;
};

} // namespace device
