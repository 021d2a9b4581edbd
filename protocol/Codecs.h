// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <optional>

// The value codecs between decimal, hexadecimal and bit texts. They are pure: no routine shows
// anything or keeps state; callers that talk to the operator turn the reported errors into messages.
namespace protocol {

// Why DecToHexPad refused a field. The caller shows the matching text from padErrorText().
enum class PadError {
    None,
    Empty,      // nothing but spaces
    OutOfRange, // more than five characters, or not a whole decimal number
};

struct PadResult {
    QString hex; // exactly `width` upper-case digits, or empty
    PadError error = PadError::None;
};

// The operator-facing text for a refused field: "输入不能为空！" or "超出设定范围，请重新输入！".
QString padErrorText(PadError error);

// Decimal text to hex text of exactly `width` (2 or 4) digits. Width 2 keeps the last two digits
// of values up to 65535; values of five hex digits give an empty text without an error.
PadResult DecToHexPad(const QString& text, int width);

// Hex text of either case to integer, weighting each character by its position from the right;
// characters that are not hex digits (only 0-9, a-f and A-F are) add nothing but hold their
// place. nullopt when the value leaves the signed 32-bit range.
std::optional<qint32> HexToDec(const QString& text);

// Bit text to integer, last character weighted 1. Any digit 2..9 makes the result 0; other
// characters count as 0. nullopt for a text of more than 30 characters, whose first weight leaves
// the signed 32-bit range.
std::optional<qint32> BinToDec(const QString& text);

// The first byte of a hex text (a single digit is taken as the low nibble) as eight bit characters.
// Characters that are not hex digits contribute nothing, so the result may be short.
QString HexToBin(const QString& text);

// Bit text to upper-case hex text without leading zeros; groups that are not four bits are skipped.
QString BinToHex(const QString& text);

// Integer to upper-case hex text without leading zeros; 0 and negative values give the empty text.
QString DecToHex(qint32 value);

} // namespace protocol
