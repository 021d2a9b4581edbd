// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Builds the console's forward frame: raw hex data wrapped for one extension port.
namespace protocol {

struct ForwardFrame {
    enum class Outcome {
        Built,       // `text` holds the frame
        Empty,       // the command text has length 0
        Blank,       // nothing but spaces: nothing happens, no message
        IllegalChar, // a character that is not a hex digit
        TooLong,     // more data than one length byte can carry
        BadPort,     // the forward port is not 1..8
    };
    Outcome outcome = Outcome::Empty;
    QString text;

    // "40" + length + "DD" + port + data digits + "23", upper case. An unpaired last digit is dropped.
    static ForwardFrame build(const QString& command, const QString& portText);
    // The message the console shows for a failed build; empty when there is none to show.
    static QString messageFor(Outcome outcome);
};

} // namespace protocol
