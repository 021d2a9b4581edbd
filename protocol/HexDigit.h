// SPDX-License-Identifier: MIT
#pragma once

#include <QChar>

// Single hex digits, read and written the way every frame text uses them.
namespace protocol::hex {

// Value of a hex digit of either case, or -1. Case is folded here, character by character: a
// full Unicode upper-casing of a whole text would turn a ligature such as U+FB00 into "FF" and
// shift every digit after a character such as U+00DF that upper-cases to two letters.
constexpr int value(char16_t u) {
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

// The upper-case digit of the low nibble of `v`.
inline QChar digit(int v) {
    return QLatin1Char("0123456789ABCDEF"[v & 0xF]);
}

} // namespace protocol::hex
