// SPDX-License-Identifier: MIT
#pragma once

#include "device/DeviceFault.h"
#include "platform/SerialControl.h"

// Why no device was reached on a port.
namespace device {

struct ConnectFault {
    enum class Kind {
        NoAnswer,   // no baud tried drew anything
        Malformed,  // an answer came, but no baud drew the connect reply: `worst` says what
        PortLost,   // the port failed while connecting
        CannotOpen, // the port could not be opened: `error` says why
        InUse,      // the caller has the port open: never touched (scans)
        Cancelled,  // the scan was cancelled before the port was done
    };

    Kind kind = Kind::NoAnswer;
    platform::SerialFault error = platform::SerialFault::NoError; // CannotOpen
    DeviceFault worst{}; // NoAnswer, Malformed, PortLost: the worst answer a baud drew

    bool operator==(const ConnectFault&) const = default;
};

} // namespace device
