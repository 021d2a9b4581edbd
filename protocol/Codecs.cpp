// SPDX-License-Identifier: MIT
#include "protocol/Codecs.h"

#include "protocol/HexDigit.h"

namespace protocol {

namespace {

bool isAsciiDigits(const QString& text) {
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c.unicode() < u'0' || c.unicode() > u'9')
            return false;
    return true;
}

// Only the space character counts as padding, as the operator sees it.
QString trimSpaces(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

QString padFaultText(PadFault fault) {
    return fault == PadFault::Empty ? QStringLiteral("输入不能为空！")
                                    : QStringLiteral("超出设定范围，请重新输入！");
}

Result<QString, PadFault> DecToHexPad(const QString& text, int width) {
    const QString t = trimSpaces(text);
    if (t.isEmpty())
        return PadFault::Empty;
    // Five characters at most, counted before the value: "000001" is refused like "100000".
    if (t.size() > 5 || !isAsciiDigits(t))
        return PadFault::OutOfRange;

    const int value = t.toInt(); // at most 99999, so no overflow
    if ((width != 2 && width != 4) || value > 0xFFFF)
        return PadFault::OutOfRange; // five hex digits fit no width
    QString hex;
    for (int shift = 4 * (width - 1); shift >= 0; shift -= 4) // the last `width` digits
        hex.append(hex::digit(value >> shift));
    return hex;
}

} // namespace protocol
