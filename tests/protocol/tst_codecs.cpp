// The value codecs between decimal, hexadecimal and bit texts: their worked values, the inputs the
// operator can produce in the network boxes, overflow, and round trips over every byte value.
#include "protocol/Codecs.h"

#include <QTest>

using protocol::PadError;

Q_DECLARE_METATYPE(protocol::PadError)

namespace {
// Two upper-case digits, as the frame builders write a byte.
QString hex2(int n) {
    return QStringLiteral("%1").arg(n, 2, 16, QLatin1Char('0')).toUpper();
}
} // namespace

class TestCodecs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void decToHexPad_data();
    void decToHexPad();

    void hexToDec_data();
    void hexToDec();
    void binToDec_data();
    void binToDec();
    void hexToBin_data();
    void hexToBin();
    void binToHex_data();
    void binToHex();
    void decToHex_data();
    void decToHex();

    void roundTripsOverEveryByte();
};

void TestCodecs::decToHexPad_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("hex");
    QTest::addColumn<PadError>("error");

    const PadError none = PadError::None;
    const PadError empty = PadError::Empty;
    const PadError range = PadError::OutOfRange;

    // Worked values.
    QTest::newRow("5 w2") << QStringLiteral("5") << 2 << QStringLiteral("05") << none;
    QTest::newRow("255 w2") << QStringLiteral("255") << 2 << QStringLiteral("FF") << none;
    QTest::newRow("256 w2 wraps") << QStringLiteral("256") << 2 << QStringLiteral("00") << none;
    QTest::newRow("65535 w2") << QStringLiteral("65535") << 2 << QStringLiteral("FF") << none;
    QTest::newRow("65536 w2 no digits") << QStringLiteral("65536") << 2 << QString() << none;
    QTest::newRow("80 w4") << QStringLiteral("80") << 4 << QStringLiteral("0050") << none;
    QTest::newRow("4660 w4") << QStringLiteral("4660") << 4 << QStringLiteral("1234") << none;

    // Edges of the value and of the width.
    QTest::newRow("0 w2") << QStringLiteral("0") << 2 << QStringLiteral("00") << none;
    QTest::newRow("0 w4") << QStringLiteral("0") << 4 << QStringLiteral("0000") << none;
    QTest::newRow("15 w2") << QStringLiteral("15") << 2 << QStringLiteral("0F") << none;
    QTest::newRow("16 w2") << QStringLiteral("16") << 2 << QStringLiteral("10") << none;
    QTest::newRow("300 w2 = 12C") << QStringLiteral("300") << 2 << QStringLiteral("2C") << none;
    QTest::newRow("4096 w2 = 1000") << QStringLiteral("4096") << 2 << QStringLiteral("00") << none;
    QTest::newRow("65535 w4") << QStringLiteral("65535") << 4 << QStringLiteral("FFFF") << none;
    QTest::newRow("65536 w4") << QStringLiteral("65536") << 4 << QString() << none;
    QTest::newRow("99999 w2") << QStringLiteral("99999") << 2 << QString() << none;
    QTest::newRow("99999 w4") << QStringLiteral("99999") << 4 << QString() << none;
    QTest::newRow("width 3") << QStringLiteral("5") << 3 << QString() << none;
    QTest::newRow("width 0") << QStringLiteral("5") << 0 << QString() << none;

    // What a network box may hold.
    QTest::newRow("leading zeros 0255") << QStringLiteral("0255") << 2 << QStringLiteral("FF") << none;
    QTest::newRow("five chars 00001") << QStringLiteral("00001") << 2 << QStringLiteral("01") << none;
    QTest::newRow("surrounding spaces") << QStringLiteral("  7  ") << 2 << QStringLiteral("07") << none;
    QTest::newRow("spaces do not count")
        << QStringLiteral("  12345  ") << 4 << QStringLiteral("3039") << none;

    QTest::newRow("empty") << QString() << 2 << QString() << empty;
    QTest::newRow("spaces only") << QStringLiteral("   ") << 2 << QString() << empty;
    QTest::newRow("spaces only w4") << QStringLiteral(" ") << 4 << QString() << empty;

    QTest::newRow("six digits 100000") << QStringLiteral("100000") << 2 << QString() << range;
    QTest::newRow("six chars 000001") << QStringLiteral("000001") << 2 << QString() << range;
    QTest::newRow("lone full stop") << QStringLiteral(".") << 2 << QString() << range;
    QTest::newRow("fraction 1.5") << QStringLiteral("1.5") << 2 << QString() << range;
    QTest::newRow("1.2.3") << QStringLiteral("1.2.3") << 2 << QString() << range;
    QTest::newRow("trailing stop 12.") << QStringLiteral("12.") << 2 << QString() << range;
    QTest::newRow("negative") << QStringLiteral("-5") << 2 << QString() << range;
    QTest::newRow("plus sign") << QStringLiteral("+5") << 2 << QString() << range;
    QTest::newRow("letter") << QStringLiteral("12a") << 2 << QString() << range;
    QTest::newRow("inner space") << QStringLiteral("1 2") << 2 << QString() << range;
    QTest::newRow("tab") << QStringLiteral("\t5") << 2 << QString() << range;
    QTest::newRow("full-width digits") << QStringLiteral("１２") << 2 << QString() << range;
    QTest::newRow("six chars w4") << QStringLiteral("123456") << 4 << QString() << range;
}

void TestCodecs::decToHexPad() {
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, hex);
    QFETCH(PadError, error);

    const protocol::PadResult result = protocol::DecToHexPad(text, width);
    QCOMPARE(result.hex, hex);
    QCOMPARE(result.error, error);
}

// expected < 0 stands for an overflow (nullopt).
void TestCodecs::hexToDec_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("ff") << QStringLiteral("ff") << qint64(255);
    QTest::newRow("0G") << QStringLiteral("0G") << qint64(0);
    QTest::newRow("1G holds its place") << QStringLiteral("1G") << qint64(16);
    QTest::newRow("G1") << QStringLiteral("G1") << qint64(1);
    QTest::newRow("empty") << QString() << qint64(0);
    QTest::newRow("FF") << QStringLiteral("FF") << qint64(255);
    QTest::newRow("mixed case") << QStringLiteral("aBc") << qint64(0xABC);
    QTest::newRow("one digit") << QStringLiteral("7") << qint64(7);
    QTest::newRow("space holds its place") << QStringLiteral("1 ") << qint64(16);
    QTest::newRow("largest") << QStringLiteral("7FFFFFFF") << qint64(2147483647);
    QTest::newRow("leading zeros beyond 8 digits") << QStringLiteral("0000000001") << qint64(1);
    QTest::newRow("80000000 overflows") << QStringLiteral("80000000") << qint64(-1);
    QTest::newRow("FFFFFFFF overflows") << QStringLiteral("FFFFFFFF") << qint64(-1);
    QTest::newRow("nine digits overflow") << QStringLiteral("100000000") << qint64(-1);
    // Case is folded character by character: nothing that upper-cases to letters becomes a digit,
    // and a character that upper-cases to two letters still holds one place.
    QTest::newRow("ligature ff is no digit") << QStringLiteral("\uFB00") << qint64(0);
    QTest::newRow("sharp s before 1") << QStringLiteral("\u00DF1") << qint64(1);
    QTest::newRow("1 before sharp s") << QStringLiteral("1\u00DF") << qint64(16);
    QTest::newRow("full-width a") << QStringLiteral("\uFF41") << qint64(0);
}

void TestCodecs::hexToDec() {
    QFETCH(QString, text);
    QFETCH(qint64, expected);

    const std::optional<qint32> value = protocol::HexToDec(text);
    if (expected < 0) {
        QVERIFY(!value.has_value());
    } else {
        QVERIFY(value.has_value());
        QCOMPARE(qint64(*value), expected);
    }
}

void TestCodecs::binToDec_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("0101") << QStringLiteral("0101") << qint64(5);
    QTest::newRow("120") << QStringLiteral("120") << qint64(0);
    QTest::newRow("empty") << QString() << qint64(0);
    QTest::newRow("11111111") << QStringLiteral("11111111") << qint64(255);
    QTest::newRow("single 1") << QStringLiteral("1") << qint64(1);
    QTest::newRow("digit 2 alone") << QStringLiteral("2") << qint64(0);
    QTest::newRow("digit 9 left") << QStringLiteral("9111") << qint64(0);
    QTest::newRow("digit 2 between 0s and 1s") << QStringLiteral("1021") << qint64(0);
    QTest::newRow("letter counts 0") << QStringLiteral("1x1") << qint64(5);
    QTest::newRow("space counts 0") << QStringLiteral("1 ") << qint64(2);
    QTest::newRow("30 ones") << QString(30, QLatin1Char('1')) << qint64(1073741823);
    QTest::newRow("1 and 29 zeros") << QStringLiteral("1") + QString(29, QLatin1Char('0')) << qint64(1 << 29);
    QTest::newRow("31 zeros overflow") << QString(31, QLatin1Char('0')) << qint64(-1);
    QTest::newRow("31 ones overflow") << QString(31, QLatin1Char('1')) << qint64(-1);
    QTest::newRow("31 chars led by 2 overflow")
        << QStringLiteral("2") + QString(30, QLatin1Char('0')) << qint64(-1);
    QTest::newRow("40 chars ending in 2 overflow")
        << QString(39, QLatin1Char('0')) + QStringLiteral("2") << qint64(-1);
}

void TestCodecs::binToDec() {
    QFETCH(QString, text);
    QFETCH(qint64, expected);

    const std::optional<qint32> value = protocol::BinToDec(text);
    if (expected < 0) {
        QVERIFY(!value.has_value());
    } else {
        QVERIFY(value.has_value());
        QCOMPARE(qint64(*value), expected);
    }
}

void TestCodecs::hexToBin_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("bits");

    QTest::newRow("A5") << QStringLiteral("A5") << QStringLiteral("10100101");
    QTest::newRow("one digit is the low nibble") << QStringLiteral("c") << QStringLiteral("00001100");
    QTest::newRow("third digit ignored") << QStringLiteral("1F3") << QStringLiteral("00011111");
    QTest::newRow("ZZ") << QStringLiteral("ZZ") << QString();
    QTest::newRow("empty") << QString() << QStringLiteral("0000");
    QTest::newRow("ff") << QStringLiteral("ff") << QStringLiteral("11111111");
    QTest::newRow("00") << QStringLiteral("00") << QStringLiteral("00000000");
    QTest::newRow("bad first digit") << QStringLiteral("Z5") << QStringLiteral("0101");
    QTest::newRow("bad second digit") << QStringLiteral("5Z") << QStringLiteral("0101");
    QTest::newRow("one bad digit") << QStringLiteral("Z") << QStringLiteral("0000");
    QTest::newRow("ligature ff") << QStringLiteral("\uFB00") << QStringLiteral("0000");
    QTest::newRow("sharp s then A") << QStringLiteral("\u00DF"
                                                      "A")
                                    << QStringLiteral("1010");
}

void TestCodecs::hexToBin() {
    QFETCH(QString, text);
    QFETCH(QString, bits);
    QCOMPARE(protocol::HexToBin(text), bits);
}

void TestCodecs::binToHex_data() {
    QTest::addColumn<QString>("bits");
    QTest::addColumn<QString>("hex");

    QTest::newRow("00000101") << QStringLiteral("00000101") << QStringLiteral("5");
    QTest::newRow("00010000") << QStringLiteral("00010000") << QStringLiteral("10");
    QTest::newRow("101 padded") << QStringLiteral("101") << QStringLiteral("5");
    QTest::newRow("zeros give nothing") << QStringLiteral("00000000") << QString();
    QTest::newRow("four zeros") << QStringLiteral("0000") << QString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("11111111") << QStringLiteral("11111111") << QStringLiteral("FF");
    QTest::newRow("line byte 011011") << QStringLiteral("011011") << QStringLiteral("1B");
    QTest::newRow("nine bits") << QStringLiteral("100000000") << QStringLiteral("100");
    QTest::newRow("bad group skipped") << QStringLiteral("1x110101") << QStringLiteral("5");
    QTest::newRow("bad low group skipped") << QStringLiteral("01012111") << QStringLiteral("5");
}

void TestCodecs::binToHex() {
    QFETCH(QString, bits);
    QFETCH(QString, hex);
    QCOMPARE(protocol::BinToHex(bits), hex);
}

void TestCodecs::decToHex_data() {
    QTest::addColumn<qint32>("value");
    QTest::addColumn<QString>("hex");

    QTest::newRow("26") << qint32(26) << QStringLiteral("1A");
    QTest::newRow("96") << qint32(96) << QStringLiteral("60");
    QTest::newRow("15") << qint32(15) << QStringLiteral("F");
    QTest::newRow("16") << qint32(16) << QStringLiteral("10");
    QTest::newRow("256") << qint32(256) << QStringLiteral("100");
    QTest::newRow("0") << qint32(0) << QString();
    QTest::newRow("negative") << qint32(-5) << QString();
    QTest::newRow("largest") << qint32(2147483647) << QStringLiteral("7FFFFFFF");
    QTest::newRow("smallest") << qint32(-2147483647 - 1) << QString();
}

void TestCodecs::decToHex() {
    QFETCH(qint32, value);
    QFETCH(QString, hex);
    QCOMPARE(protocol::DecToHex(value), hex);
}

void TestCodecs::roundTripsOverEveryByte() {
    for (int n = 0; n <= 255; ++n) {
        const QString padded = protocol::DecToHexPad(QString::number(n), 2).hex;
        QCOMPARE(padded, hex2(n));
        QCOMPARE(protocol::HexToDec(padded), std::optional<qint32>(n));
        QCOMPARE(protocol::HexToDec(padded.toLower()), std::optional<qint32>(n));

        const QString bits = protocol::HexToBin(padded);
        QCOMPARE(bits.size(), 8);
        QCOMPARE(protocol::BinToDec(bits), std::optional<qint32>(n));
        QCOMPARE(protocol::BinToHex(bits), protocol::DecToHex(n));
        // A single digit is the low nibble, as its padded form.
        if (n < 16)
            QCOMPARE(protocol::HexToBin(protocol::DecToHex(n)), n == 0 ? QStringLiteral("0000") : bits);

        if (n > 0)
            QCOMPARE(protocol::HexToDec(protocol::DecToHex(n)), std::optional<qint32>(n));
        QCOMPARE(protocol::DecToHexPad(QString::number(n), 4).hex, QStringLiteral("00") + hex2(n));
    }
}

QTEST_APPLESS_MAIN(TestCodecs)

#include "tst_codecs.moc"
