// The value codecs between decimal, hexadecimal and bit texts: their worked values, what the
// operator can put in a network box, overflow, and round trips over every byte value.
#include "protocol/Codecs.h"

#include <QTest>

using protocol::PadError;

Q_DECLARE_METATYPE(protocol::PadError)

namespace {
// An expected value of the integer codecs: -1 stands for an overflow (nullopt).
qint64 value(const std::optional<qint32>& v) {
    return v ? qint64(*v) : -1;
}
} // namespace

class TestCodecs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void decToHexPad_data();
    void decToHexPad();
    void toIntegers_data();
    void toIntegers();
    void toTexts_data();
    void toTexts();
    void roundTripsOverEveryByte();
};

void TestCodecs::decToHexPad_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("hex");
    QTest::addColumn<PadError>("error");
    const struct {
        const char16_t* text;
        int width;
        const char* hex;
        PadError error;
    } rows[] = {
        {u"5", 2, "05", PadError::None},
        {u"255", 2, "FF", PadError::None},
        {u"256", 2, "00", PadError::None},
        {u"300", 2, "2C", PadError::None},
        {u"4096", 2, "00", PadError::None},
        {u"65535", 2, "FF", PadError::None},
        {u"65536", 2, "", PadError::None},
        {u"15", 2, "0F", PadError::None},
        {u"16", 2, "10", PadError::None},
        {u"0", 4, "0000", PadError::None},
        {u"80", 4, "0050", PadError::None},
        {u"4660", 4, "1234", PadError::None},
        {u"65535", 4, "FFFF", PadError::None},
        {u"65536", 4, "", PadError::None},
        {u"5", 3, "", PadError::None},
        {u"0255", 2, "FF", PadError::None},
        {u"00001", 2, "01", PadError::None},
        {u"  12345  ", 4, "3039", PadError::None},
        {u"", 2, "", PadError::Empty},
        {u"   ", 4, "", PadError::Empty},
        {u"000001", 2, "", PadError::OutOfRange},
        {u"100000", 2, "", PadError::OutOfRange},
        {u".", 2, "", PadError::OutOfRange},
        {u"1.5", 2, "", PadError::OutOfRange},
        {u"-5", 2, "", PadError::OutOfRange},
        {u"12a", 2, "", PadError::OutOfRange},
        {u"1 2", 2, "", PadError::OutOfRange},
        {u"\t5", 2, "", PadError::OutOfRange},
        {u"１２", 2, "", PadError::OutOfRange},
    };
    for (const auto& row : rows)
        QTest::addRow("'%ls' width %d", qUtf16Printable(QString::fromUtf16(row.text)), row.width)
            << QString::fromUtf16(row.text) << row.width << QString::fromLatin1(row.hex) << row.error;
}

void TestCodecs::decToHexPad() {
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, hex);
    QFETCH(PadError, error);
    const protocol::PadResult result = protocol::DecToHexPad(text, width);
    QCOMPARE(result.hex, hex);
    QCOMPARE(result.error, error);
    QCOMPARE(protocol::padErrorText(error), error == PadError::Empty ? QStringLiteral("输入不能为空！")
                                            : error == PadError::OutOfRange
                                                ? QStringLiteral("超出设定范围，请重新输入！")
                                                : QString());
}

void TestCodecs::toIntegers_data() {
    QTest::addColumn<bool>("hex"); // HexToDec, or else BinToDec
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("expected");
    const struct {
        bool hex;
        const char16_t* text;
        qint64 expected;
    } rows[] = {
        {true, u"ff", 255},
        {true, u"aBc", 0xABC},
        {true, u"0G", 0},
        {true, u"1G", 16},
        {true, u"G1", 1},
        {true, u"", 0},
        {true, u"1 ", 16},
        {true, u"7FFFFFFF", 2147483647},
        {true, u"0000000001", 1},
        {true, u"80000000", -1},
        {true, u"100000000", -1},
        {true, u"\uFB00", 0},
        {true, u"\u00DF1", 1},
        {true, u"1\u00DF", 16},
        {false, u"0101", 5},
        {false, u"11111111", 255},
        {false, u"", 0},
        {false, u"120", 0},
        {false, u"9111", 0},
        {false, u"1x1", 5},
        {false, u"1 ", 2},
        {false, u"111111111111111111111111111111", 1073741823},
        {false, u"0000000000000000000000000000000", -1},
        {false, u"2000000000000000000000000000000", -1},
    };
    for (const auto& row : rows)
        QTest::addRow("%s '%ls'", row.hex ? "hex" : "bin", qUtf16Printable(QString::fromUtf16(row.text)))
            << row.hex << QString::fromUtf16(row.text) << row.expected;
}

void TestCodecs::toIntegers() {
    QFETCH(bool, hex);
    QFETCH(QString, text);
    QFETCH(qint64, expected);
    QCOMPARE(value(hex ? protocol::HexToDec(text) : protocol::BinToDec(text)), expected);
}

void TestCodecs::toTexts_data() {
    QTest::addColumn<QString>("codec");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    const struct {
        const char* codec;
        const char16_t* input;
        const char* output;
    } rows[] = {
        {"HexToBin", u"A5", "10100101"},
        {"HexToBin", u"c", "00001100"},
        {"HexToBin", u"1F3", "00011111"},
        {"HexToBin", u"ZZ", ""},
        {"HexToBin", u"", "0000"},
        {"HexToBin", u"Z5", "0101"},
        {"HexToBin", u"5Z", "0101"},
        {"HexToBin", u"\uFB00", "0000"},
        {"BinToHex", u"00000101", "5"},
        {"BinToHex", u"00010000", "10"},
        {"BinToHex", u"101", "5"},
        {"BinToHex", u"00000000", ""},
        {"BinToHex", u"100000000", "100"},
        {"BinToHex", u"1x110101", "5"},
        {"BinToHex", u"01012111", "5"},
        {"DecToHex", u"26", "1A"},
        {"DecToHex", u"15", "F"},
        {"DecToHex", u"256", "100"},
        {"DecToHex", u"0", ""},
        {"DecToHex", u"-5", ""},
        {"DecToHex", u"2147483647", "7FFFFFFF"},
    };
    for (const auto& row : rows)
        QTest::addRow("%s '%ls'", row.codec, qUtf16Printable(QString::fromUtf16(row.input)))
            << QString::fromLatin1(row.codec) << QString::fromUtf16(row.input)
            << QString::fromLatin1(row.output);
}

void TestCodecs::toTexts() {
    QFETCH(QString, codec);
    QFETCH(QString, input);
    QFETCH(QString, output);
    const QString result = codec == QLatin1String("HexToBin")   ? protocol::HexToBin(input)
                           : codec == QLatin1String("BinToHex") ? protocol::BinToHex(input)
                                                                : protocol::DecToHex(input.toInt());
    QCOMPARE(result, output);
}

void TestCodecs::roundTripsOverEveryByte() {
    for (int n = 0; n <= 255; ++n) {
        const QString hex = QStringLiteral("%1").arg(n, 2, 16, QLatin1Char('0')).toUpper();
        QCOMPARE(protocol::DecToHexPad(QString::number(n), 2).hex, hex);
        QCOMPARE(protocol::DecToHexPad(QString::number(n), 4).hex, QStringLiteral("00") + hex);
        QCOMPARE(protocol::HexToDec(hex.toLower()), std::optional<qint32>(n));
        const QString bits = protocol::HexToBin(hex);
        QCOMPARE(bits, QStringLiteral("%1").arg(n, 8, 2, QLatin1Char('0')));
        QCOMPARE(protocol::BinToDec(bits), std::optional<qint32>(n));
        QCOMPARE(protocol::BinToHex(bits), protocol::DecToHex(n));
    }
}

QTEST_APPLESS_MAIN(TestCodecs)
#include "tst_codecs.moc"
