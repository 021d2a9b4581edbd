// SPDX-License-Identifier: MIT
#pragma once

#include "config/Words.h"

#include <QString>
#include <QStringList>

namespace config {

// Why a profile file or a unit's network values were refused: a code and the values it names, so
// that the window says it in Chinese and the command line in English. An argument that is one of
// the type words ({text}, {number}, {list}, {object}, {nothing}) is worded too; a JSON text value
// is always quoted, so it never reads as one.
struct Problem {
    enum class Kind {
        NotJson,          // %1 line, %2 column, %3 the reader's reason
        NotAnObject,      // the file holds a list
        KeyTwice,         // a key appears twice in one object
        NotRegularFile,   // a FIFO, a terminal, a folder
        CannotRead,       // %1 the system's reason
        TooLarge,         // %1 the largest size in bytes
        CannotWrite,      // %1 the system's reason
        UnknownField,     // %1 the field, %2 the fields expected
        MissingField,     // %1 the field
        MissingFormat,    // no "format": perhaps no profile at all
        WrongType,        // %1 the type word expected, %2 the value found
        NotFormat,        // %1 the value, %2 the format's name
        Version,          // %1 the value, %2 the version read
        BaudRate,         // %1 the value, %2 the step, %3 the highest rate
        NotOneOf,         // %1 the value, %2 the names accepted
        PortNumber,       // %1 the value, %2 the number of ports
        PortTwice,        // %1 the port
        PortMissing,      // %1 the port
        NotMac,           // %1 the value
        NotAddress,       // %1 the value
        Multicast,        // %1 the MAC
        NoAddress,        // 0.0.0.0
        NotMask,          // %1 the mask
        MaskLeavesNoRoom, // %1 the mask
        NetworkItself,    // %1 the IP, %2 its network
        Broadcast,        // %1 the IP, %2 its network
        GatewayOutside,   // %1 the gateway, %2 the network, %3 the IP
    };

    Kind kind;
    QStringList arguments;

    bool operator==(const Problem&) const = default;
    QString text(Language language) const;
};

} // namespace config
