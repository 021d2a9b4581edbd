// SPDX-License-Identifier: MIT
#include "protocol/HexText.h"

#include "protocol/HexDigit.h"

namespace protocol {

QString hexByte(quint8 value) {
    return QString(hex::digit(value >> 4)) + hex::digit(value);
}

QString toHexText(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex().toUpper());
}

QByteArray parseHexFrame(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size() / 2);
    int high = -1;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u' ')
            continue;
        const int value = hex::value(u);
        if (value < 0)
            break; // everything from here on is ignored
        if (high < 0) {
            high = value;
        } else {
            bytes.append(char((high << 4) | value));
            high = -1;
        }
    }
    return bytes; // a pending high nibble is the unpaired digit and is dropped
}

} // namespace protocol
