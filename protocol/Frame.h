// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

// The frame format shared by requests and replies: 0x40, length byte L (bytes after it),
// command, payload, 0x23. No checksum, no escaping.
namespace protocol::frame {

inline constexpr quint8 Start = 0x40;
inline constexpr quint8 End = 0x23;
inline constexpr int MaxLength = 255;                 // one length byte
inline constexpr int MaxPayload = MaxLength - 2;      // command and end byte are counted too
inline constexpr int MaxForwardData = MaxPayload - 1; // the forward port takes one payload byte

namespace command {
inline constexpr quint8 Connect = 0xF1;
inline constexpr quint8 PortSet = 0xCD;
inline constexpr quint8 PortSync = 0xFB;
inline constexpr quint8 Restore = 0xED;
inline constexpr quint8 Forward = 0xDD;
inline constexpr quint8 NetworkRead = 0xCA;
inline constexpr quint8 NetworkWrite = 0xCE;
} // namespace command

namespace reply {
inline constexpr quint8 Connected = 0xE1;
inline constexpr quint8 PortSetDone = 0xE2;
inline constexpr quint8 RestoreDone = 0xE4;
inline constexpr quint8 NetworkSetDone = 0xE5;
inline constexpr quint8 NetworkParameters = 0xCA;
inline constexpr quint8 PortConfiguration = 0xFB;
} // namespace reply

inline constexpr int NetworkOctets = 18;
inline constexpr int PortCount = 8;
inline constexpr int PortSetPayload = 3 * PortCount + 2;         // 26
inline constexpr int PortConfigurationSize = PortSetPayload + 4; // 30 bytes on the wire
inline constexpr int NetworkParametersSize = NetworkOctets + 4;  // 22 bytes on the wire

} // namespace protocol::frame
