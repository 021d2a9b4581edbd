// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/Result.h"

#include <QString>

// The octet boxes' codec from decimal text to hexadecimal text. It is pure: it shows nothing and
// keeps no state; callers that talk to the operator turn the reported errors into messages.
namespace protocol {

// Why DecToHexPad refused a field. The caller shows the matching text from padFaultText().
enum class PadFault {
    Empty,      // nothing but spaces
    OutOfRange, // more than five characters, not a whole decimal number, or above 65535
};

// The operator-facing text for a refused field: "输入不能为空！" or "超出设定范围，请重新输入！".
QString padFaultText(PadFault fault);

// Decimal text to hex text of exactly `width` (2 or 4) upper-case digits. Width 2 keeps the last
// two digits of values up to 65535.
Result<QString, PadFault> DecToHexPad(const QString& text, int width);

} // namespace protocol
