// SPDX-License-Identifier: MIT
// The transmitter's reading of frame text and the hex text shown for received bytes: reading
// never yields more bytes than the text can hold, takes exactly the leading run of digit pairs,
// and reads back every text that toHexText writes, in either case and with spaces between pairs.
#include "fuzz/FuzzSupport.h"
#include "protocol/HexText.h"

using namespace protocol;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Text to bytes.
    const QString text = fuzz::text(data, size);
    const QByteArray parsed = parseHexFrame(text);
    FUZZ_CHECK(parsed.size() <= text.size() / 2);

    QString cleaned = text;
    cleaned.remove(QLatin1Char(' '));
    const QString shown = toHexText(parsed);
    FUZZ_CHECK(cleaned.toUpper().startsWith(shown));

    qsizetype run = 0;
    while (run < cleaned.size() && fuzz::isHexDigit(cleaned.at(run)))
        ++run;
    FUZZ_CHECK(parsed.size() == run / 2); // an unpaired last digit is dropped
    FUZZ_CHECK(shown == cleaned.left(parsed.size() * 2).toUpper());

    // Bytes to text and back.
    const QByteArray raw = fuzz::bytes(data, size);
    const QString hex = toHexText(raw);
    FUZZ_CHECK(hex.size() == 2 * raw.size());
    FUZZ_CHECK(fuzz::isUpperHex(hex));
    FUZZ_CHECK(parseHexFrame(hex) == raw);
    FUZZ_CHECK(parseHexFrame(hex.toLower()) == raw);

    QString spaced;
    for (qsizetype i = 0; i < hex.size(); i += 2)
        spaced += QLatin1Char(' ') + hex.mid(i, 2);
    FUZZ_CHECK(parseHexFrame(spaced) == raw);
    FUZZ_CHECK(parseHexFrame(hex + QLatin1Char('7')) == raw);
    FUZZ_CHECK(parseHexFrame(hex + QStringLiteral("\r\n4002")) == raw);
    return 0;
}
