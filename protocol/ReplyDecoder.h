// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/Reply.h"

#include <vector>

// Turns the bytes of one quiet-time burst into the replies they hold.
namespace protocol {

// Cuts a burst into replies: while it begins with a complete frame (0x40, L, and 0x23 at offset
// L + 1) that is followed by more bytes, that frame is one reply and the rest is read again by
// the same rule; what remains is the last reply. An empty burst gives no replies.
std::vector<QByteArray> splitBurst(const QByteArray& burst);

// Decodes one reply. Confirmations need the start byte 0x40 and the end byte 0x23; the data
// replies are acted on only when complete (22 bytes for network parameters, 30 for the port
// configuration, ending in 0x23). The length byte itself is not examined.
Reply decodeReply(const QByteArray& bytes);

// splitBurst, then decodeReply on each part.
std::vector<ReplySegment> decodeBurst(const QByteArray& burst);

// The bytes of a well-formed frame carrying `reply`; empty for Unrecognised.
QByteArray encodeReply(const Reply& reply);

} // namespace protocol
