// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/Codecs.h"
#include "protocol/Frame.h"
#include "protocol/Reply.h"
#include "protocol/Result.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

// The network module's write frame built from the eighteen octet boxes, and the boxes' own rules.
namespace config {

using OctetTexts = std::array<QString, protocol::frame::NetworkOctets>;

// The first box that cannot be encoded, and why.
struct BoxFault {
    int index = 0;
    protocol::PadFault fault = protocol::PadFault::OutOfRange;
    bool operator==(const BoxFault&) const = default;
};

class NetworkFrame {
public:
    // "4014CE" + 18 octets of two digits + "23", always 44 characters; or the first bad box.
    static protocol::Result<QString, BoxFault> build(const OctetTexts& boxes);
    // The write frame's bytes for the octets; its payload has the network reply's layout.
    static QByteArray encode(const protocol::NetworkParameters& octets);
    // The octets a 22-byte network write frame carries; nullopt for any other bytes.
    static std::optional<protocol::NetworkParameters> decode(const QByteArray& bytes);

    // Keeps only what an octet box accepts: the digits and the full stop.
    static QString filterBoxText(const QString& text);
    // True when the number at the start of the text (full stop as decimal point) exceeds 255;
    // such a box is reset to "0".
    static bool exceedsOctet(const QString& text);
};

} // namespace config
