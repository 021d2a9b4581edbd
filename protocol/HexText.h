// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// Conversions between bytes and the hex text in which frames exist on the PC side.
namespace protocol {

// One byte as two upper-case digits: 0x0A -> "0A".
QString hexByte(quint8 value);

// Bytes as two upper-case digits each, no separators: 40 02 E1 23 -> "4002E123".
QString toHexText(const QByteArray& bytes);

// The transmitter's reading of a frame text: spaces removed, case folded, stop at the first
// character that is not a hex digit, an unpaired last digit dropped. Never more than half the
// input's length in bytes.
QByteArray parseHexFrame(const QString& text);

} // namespace protocol
