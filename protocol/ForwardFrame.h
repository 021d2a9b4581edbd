// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/Result.h"

#include <QString>

// Builds the console's forward frame: raw hex data wrapped for one extension port.
namespace protocol {

// Why a forward frame cannot be built; the console and the device client share it.
enum class ForwardFault {
    Empty,       // the command text has length 0: nothing to forward
    Blank,       // nothing but spaces: nothing happens, no message
    IllegalChar, // a character that is not a hex digit
    TooLong,     // more data than one length byte can carry (252 bytes)
    BadPort,     // the forward port is not 1..8
};

class ForwardFrame {
public:
    // "40" + length + "DD" + port + data digits + "23", upper case. An unpaired last digit is dropped.
    static Result<QString, ForwardFault> build(const QString& command, const QString& portText);
    // The message the console shows for a refused build; empty when there is none to show.
    static QString messageFor(ForwardFault fault);
};

} // namespace protocol
