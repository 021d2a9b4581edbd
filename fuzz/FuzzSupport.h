// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// What every fuzz target shares: turning the fuzzer's bytes into the inputs of the code under test,
// and stopping the run at the first broken property so that libFuzzer keeps the input.
namespace fuzz {

[[noreturn]] inline void fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "property violated: %s (%s:%d)\n", what, file, line);
    std::abort();
}

#define FUZZ_CHECK(condition) ((condition) ? void(0) : ::fuzz::fail(#condition, __FILE__, __LINE__))

inline QByteArray bytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// The input as text: UTF-16 (little endian, an odd last byte dropped) after a leading FF FE,
// so that lone surrogates and any code unit can be reached; UTF-8 otherwise.
inline QString text(const std::uint8_t* data, std::size_t size) {
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        std::u16string units;
        for (std::size_t i = 2; i + 1 < size; i += 2)
            units.push_back(char16_t(data[i] | (data[i + 1] << 8)));
        return QString::fromStdU16String(units);
    }
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

// Exactly `count` fields, separated by line feeds. Missing fields are empty; the last field keeps
// whatever follows, line feeds included.
inline QStringList fields(const QString& text, int count) {
    QStringList parts;
    qsizetype from = 0;
    while (parts.size() < count - 1) {
        const qsizetype lf = text.indexOf(QLatin1Char('\n'), from);
        if (lf < 0)
            break;
        parts.append(text.mid(from, lf - from));
        from = lf + 1;
    }
    parts.append(text.mid(from));
    while (parts.size() < count)
        parts.append(QString());
    return parts;
}

inline bool isUpperHexDigit(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F');
}

// A hex digit of either case, ASCII only.
inline bool isHexDigit(QChar c) {
    const char16_t u = c.unicode();
    return isUpperHexDigit(c) || (u >= u'a' && u <= u'f');
}

inline bool isDecimalDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

inline bool isUpperHex(const QString& text) {
    for (QChar c : text)
        if (!isUpperHexDigit(c))
            return false;
    return true;
}

inline bool isDecimal(const QString& text) {
    for (QChar c : text)
        if (!isDecimalDigit(c))
            return false;
    return true;
}

// Only a..f become A..F: the letters that matter in hex text, folded one character at a time.
inline QString foldHexCase(const QString& text) {
    QString folded = text;
    for (QChar& c : folded)
        if (c.unicode() >= u'a' && c.unicode() <= u'f')
            c = QChar(char16_t(c.unicode() - u'a' + u'A'));
    return folded;
}

// The text without leading and trailing space characters (code 32 only).
inline QString withoutOuterSpaces(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

// Two upper-case hex digits.
inline QString hexByte(unsigned value) {
    return QString::number(value & 0xFF, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

} // namespace fuzz
