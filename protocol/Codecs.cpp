// SPDX-License-Identifier: MIT
#include "protocol/Codecs.h"

#include "protocol/HexDigit.h"

#include <limits>

namespace protocol {

namespace {

int hexDigitValue(QChar c) {
    return hex::value(c.unicode());
}
QChar hexDigit(int value) {
    return hex::digit(value);
}

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

QString padErrorText(PadError error) {
    switch (error) {
    case PadError::Empty:
        return QStringLiteral("输入不能为空！");
    case PadError::OutOfRange:
        return QStringLiteral("超出设定范围，请重新输入！");
    case PadError::None:
        break;
    }
    return {};
}

PadResult DecToHexPad(const QString& text, int width) {
    const QString t = trimSpaces(text);
    if (t.isEmpty())
        return {{}, PadError::Empty};
    // Five characters at most, counted before the value: "000001" is refused like "100000".
    if (t.size() > 5 || !isAsciiDigits(t))
        return {{}, PadError::OutOfRange};

    const QString h = DecToHex(t.toInt()); // at most 99999, so no overflow
    const qsizetype n = h.size();
    if (width == 2) {
        if (n == 0)
            return {QStringLiteral("00"), PadError::None};
        if (n == 1)
            return {QLatin1Char('0') + h, PadError::None};
        if (n <= 4)
            return {h.right(2), PadError::None};
        return {};
    }
    if (width == 4) {
        if (n <= 4)
            return {QString(4 - n, QLatin1Char('0')) + h, PadError::None};
        return {};
    }
    return {};
}

std::optional<qint32> HexToDec(const QString& text) {
    qint64 total = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const int d = hexDigitValue(text.at(size - 1 - i));
        if (d <= 0)
            continue; // a zero or a non-digit adds nothing but still holds its place
        if (i >= 8)
            return std::nullopt; // 16^8 alone exceeds the range
        total += qint64(d) << (4 * i);
        if (total > std::numeric_limits<qint32>::max())
            return std::nullopt;
    }
    return qint32(total);
}

std::optional<qint32> BinToDec(const QString& text) {
    // Over 30 characters the weight of the first one leaves the range, whatever the characters
    // are; refused before the walk so that a digit 2..9 further left cannot hide the overflow.
    if (text.size() > 30)
        return std::nullopt;
    qint64 total = 0;
    qint64 weight = 1;
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        const char16_t u = text.at(i).unicode();
        const int value = (u >= u'0' && u <= u'9') ? int(u - u'0') : 0;
        if (value >= 2)
            return 0;
        total += value * weight;
        weight *= 2;
    }
    return qint32(total);
}

QString HexToBin(const QString& text) {
    QString t = text;
    if (t.size() < 2)
        t.prepend(QLatin1Char('0'));
    QString bits;
    for (qsizetype i = 0; i < 2 && i < t.size(); ++i) {
        const int d = hexDigitValue(t.at(i));
        if (d < 0)
            continue;
        for (int bit = 3; bit >= 0; --bit)
            bits.append((d >> bit) & 1 ? QLatin1Char('1') : QLatin1Char('0'));
    }
    return bits;
}

QString BinToHex(const QString& text) {
    QString t = text;
    if (t.size() % 4 != 0)
        t.prepend(QString(4 - t.size() % 4, QLatin1Char('0')));
    QString hex;
    for (qsizetype g = 0; g < t.size(); g += 4) {
        int value = 0;
        bool valid = true;
        for (qsizetype k = g; k < g + 4; ++k) {
            const QChar c = t.at(k);
            if (c != QLatin1Char('0') && c != QLatin1Char('1')) {
                valid = false;
                break;
            }
            value = value * 2 + (c == QLatin1Char('1'));
        }
        if (valid)
            hex.append(hexDigit(value));
    }
    qsizetype zeros = 0;
    while (zeros < hex.size() && hex.at(zeros) == QLatin1Char('0'))
        ++zeros;
    return hex.mid(zeros);
}

QString DecToHex(qint32 value) {
    QString hex;
    while (value > 0) {
        hex.prepend(hexDigit(value % 16));
        value /= 16;
    }
    return hex;
}

} // namespace protocol
