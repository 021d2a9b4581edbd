// SPDX-License-Identifier: MIT
// Every value codec on arbitrary text (and on an integer taken from the input's first four
// bytes): nothing crashes, results have their documented shape, and the conversions agree with
// plain arithmetic and with each other.
#include "fuzz/FuzzSupport.h"
#include "protocol/Codecs.h"

#include <cstring>
#include <limits>
#include <optional>

using namespace protocol;

namespace {

constexpr qint64 Int32Max = std::numeric_limits<qint32>::max();

bool hasLeadingZero(const QString& hex) {
    return !hex.isEmpty() && hex.at(0) == QLatin1Char('0');
}

qint64 hexValue(const QString& hex) {
    return qint64(hex.toULongLong(nullptr, 16));
}

bool isBits(const QString& text) {
    for (QChar c : text)
        if (c != QLatin1Char('0') && c != QLatin1Char('1'))
            return false;
    return true;
}

void checkPad(const QString& text, int width) {
    const PadResult result = DecToHexPad(text, width);
    FUZZ_CHECK(result.hex.isEmpty() || (result.hex.size() == width && fuzz::isUpperHex(result.hex)));
    FUZZ_CHECK(padErrorText(result.error).isEmpty() == (result.error == PadError::None));
    if (result.error != PadError::None)
        FUZZ_CHECK(result.hex.isEmpty());

    const QString field = fuzz::withoutOuterSpaces(text);
    FUZZ_CHECK((result.error == PadError::Empty) == field.isEmpty());
    const bool wellFormed = !field.isEmpty() && field.size() <= 5 && fuzz::isDecimal(field);
    FUZZ_CHECK((result.error == PadError::None) == wellFormed);
    if (!wellFormed || (width != 2 && width != 4)) {
        FUZZ_CHECK(result.hex.isEmpty());
        return;
    }
    const int value = field.toInt();
    if (value > 0xFFFF) {
        FUZZ_CHECK(result.hex.isEmpty()); // five hex digits fit neither width
        return;
    }
    const int expected = width == 2 ? value % 256 : value;
    FUZZ_CHECK(!result.hex.isEmpty() && hexValue(result.hex) == expected);
}

void checkHexToDec(const QString& text) {
    const std::optional<qint32> value = HexToDec(text);
    if (value)
        FUZZ_CHECK(*value >= 0);
    // A character that is no digit holds its place but adds nothing, so one in front changes nothing.
    FUZZ_CHECK(HexToDec(QLatin1Char('G') + text) == value);
    // A zero behind shifts everything one digit up.
    const std::optional<qint32> shifted = HexToDec(text + QLatin1Char('0'));
    if (value && qint64(*value) * 16 <= Int32Max)
        FUZZ_CHECK(shifted && *shifted == *value * 16);
    else
        FUZZ_CHECK(!shifted);

    bool digitsOnly = !text.isEmpty();
    for (QChar c : text)
        digitsOnly = digitsOnly && fuzz::isHexDigit(c);
    if (digitsOnly) {
        qsizetype zeros = 0;
        while (zeros < text.size() && text.at(zeros) == QLatin1Char('0'))
            ++zeros;
        const QString significant = text.mid(zeros);
        if (significant.size() > 8) {
            FUZZ_CHECK(!value);
        } else {
            const qint64 expected = significant.isEmpty() ? 0 : hexValue(significant);
            FUZZ_CHECK(expected <= Int32Max ? (value && *value == expected) : !value);
        }
    }
}

void checkBinToDec(const QString& text) {
    const std::optional<qint32> value = BinToDec(text);
    bool badDigit = false;
    qint64 expected = 0;
    for (QChar c : text) {
        badDigit = badDigit || (c >= QLatin1Char('2') && c <= QLatin1Char('9'));
        if (text.size() <= 30)
            expected = expected * 2 + (c == QLatin1Char('1'));
    }
    if (text.size() <= 30)
        FUZZ_CHECK(value && *value == (badDigit ? 0 : expected));
    else if (!badDigit)
        FUZZ_CHECK(!value); // over 30 bits: overflow
    else
        FUZZ_CHECK(!value || *value == 0);
}

void checkHexToBin(const QString& text) {
    const QString bits = HexToBin(text);
    FUZZ_CHECK(bits.size() % 4 == 0 && bits.size() <= 8);
    FUZZ_CHECK(isBits(bits));

    const bool twoDigits = text.size() >= 2 && fuzz::isHexDigit(text.at(0)) && fuzz::isHexDigit(text.at(1));
    const bool oneDigit = text.size() == 1 && fuzz::isHexDigit(text.at(0));
    if (!twoDigits && !oneDigit)
        return;
    const QString firstByte = text.left(2);
    const qint64 byte = hexValue(firstByte);
    FUZZ_CHECK(bits.size() == 8);
    FUZZ_CHECK(bits == QString::number(byte, 2).rightJustified(8, QLatin1Char('0')));
    const std::optional<qint32> back = BinToDec(bits);
    FUZZ_CHECK(back && *back == byte);
    FUZZ_CHECK(BinToHex(bits) == DecToHex(qint32(byte)));
    FUZZ_CHECK(HexToDec(firstByte) == std::optional<qint32>(qint32(byte)));
}

void checkBinToHex(const QString& text) {
    const QString hex = BinToHex(text);
    FUZZ_CHECK(fuzz::isUpperHex(hex));
    FUZZ_CHECK(!hasLeadingZero(hex));
    FUZZ_CHECK(hex.size() <= (text.size() + 3) / 4);
    if (isBits(text) && text.size() <= 30) {
        const std::optional<qint32> value = BinToDec(text);
        FUZZ_CHECK(value && hexValue(hex) == *value);
    }
}

void checkDecToHex(qint32 value) {
    const QString hex = DecToHex(value);
    if (value <= 0) {
        FUZZ_CHECK(hex.isEmpty());
        return;
    }
    FUZZ_CHECK(!hex.isEmpty() && hex.size() <= 8);
    FUZZ_CHECK(fuzz::isUpperHex(hex));
    FUZZ_CHECK(!hasLeadingZero(hex));
    FUZZ_CHECK(hexValue(hex) == value);
    FUZZ_CHECK(HexToDec(hex) == std::optional<qint32>(value));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = fuzz::text(data, size);

    checkPad(text, 2);
    checkPad(text, 4);
    checkPad(text, size > 0 ? int(std::int8_t(data[0])) : 0);
    checkHexToDec(text);
    checkBinToDec(text);
    checkHexToBin(text);
    checkBinToHex(text);

    qint32 raw = 0;
    if (size >= sizeof raw)
        std::memcpy(&raw, data, sizeof raw);
    checkDecToHex(raw);
    checkDecToHex(qint32(size));
    if (const std::optional<qint32> fromHex = HexToDec(text))
        checkDecToHex(*fromHex);
    if (const std::optional<qint32> fromBits = BinToDec(text))
        checkDecToHex(*fromBits);
    return 0;
}
