// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The octet boxes' codec from decimal text to hexadecimal text. It is pure: it shows nothing and
// keeps no state; callers that talk to the operator turn the reported errors into messages.
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

} // namespace protocol
