// The conversions between numbers, decimal, hexadecimal and bit texts and bytes: worked values,
// what an operator can type or paste, overflow, and round trips over every byte value.
#include "protocol/Codecs.h"
#include "protocol/HexText.h"

#include <QTest>

using namespace Qt::StringLiterals;
using protocol::PadError;

Q_DECLARE_METATYPE(protocol::PadError)

class TestCodecs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void decToHexPad_data();
    void decToHexPad();
    void conversions_data();
    void conversions();
    void parseHexFrame_data();
    void parseHexFrame();
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
        {u"65535", 2, "FF", PadError::None},
        {u"65536", 2, "", PadError::None},
        {u"4660", 4, "1234", PadError::None},
        {u"65536", 4, "", PadError::None},
        {u"5", 3, "", PadError::None},
        {u"00001", 2, "01", PadError::None},
        {u"  12345  ", 4, "3039", PadError::None},
        {u"", 2, "", PadError::Empty},
        {u"   ", 4, "", PadError::Empty},
        {u"000001", 2, "", PadError::OutOfRange},
        {u".", 2, "", PadError::OutOfRange},
        {u"1.5", 2, "", PadError::OutOfRange},
        {u"-5", 2, "", PadError::OutOfRange},
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
    const QString message = error == PadError::Empty ? u"输入不能为空！"_s : u"超出设定范围，请重新输入！"_s;
    QCOMPARE(protocol::padErrorText(error), error == PadError::None ? QString() : message);
}

void TestCodecs::conversions_data() {
    QTest::addColumn<QString>("codec");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output"); // "-" for an overflow
    const struct {
        const char* codec;
        const char16_t* input;
        const char* output;
    } rows[] = {
        {"HexToDec", u"ff", "255"},
        {"HexToDec", u"aBc", "2748"},
        {"HexToDec", u"1G", "16"},
        {"HexToDec", u"G1", "1"},
        {"HexToDec", u"", "0"},
        {"HexToDec", u"1 ", "16"},
        {"HexToDec", u"7FFFFFFF", "2147483647"},
        {"HexToDec", u"0000000001", "1"},
        {"HexToDec", u"80000000", "-"},
        {"HexToDec", u"100000000", "-"},
        {"HexToDec", u"\uFB00", "0"},
        {"HexToDec", u"\u00DF1", "1"},
        {"HexToDec", u"1\u00DF", "16"},
        {"BinToDec", u"0101", "5"},
        {"BinToDec", u"", "0"},
        {"BinToDec", u"120", "0"},
        {"BinToDec", u"9111", "0"},
        {"BinToDec", u"1x1", "5"},
        {"BinToDec", u"1 ", "2"},
        {"BinToDec", u"111111111111111111111111111111", "1073741823"},
        {"BinToDec", u"0000000000000000000000000000000", "-"},
        {"BinToDec", u"2000000000000000000000000000000", "-"},
        {"HexToBin", u"A5", "10100101"},
        {"HexToBin", u"c", "00001100"},
        {"HexToBin", u"1F3", "00011111"},
        {"HexToBin", u"ZZ", ""},
        {"HexToBin", u"", "0000"},
        {"HexToBin", u"Z5", "0101"},
        {"HexToBin", u"5Z", "0101"},
        {"HexToBin", u"\uFB00", "0000"},
        {"BinToHex", u"00010000", "10"},
        {"BinToHex", u"101", "5"},
        {"BinToHex", u"00000000", ""},
        {"BinToHex", u"100000000", "100"},
        {"BinToHex", u"1x110101", "5"},
        {"BinToHex", u"01012111", "5"},
        {"DecToHex", u"26", "1A"},
        {"DecToHex", u"0", ""},
        {"DecToHex", u"-5", ""},
        {"DecToHex", u"2147483647", "7FFFFFFF"},
        {"toHexText", u"\u0007\u00FF\u000A@", "07FF0A40"},
    };
    for (const auto& row : rows)
        QTest::addRow("%s '%ls'", row.codec, qUtf16Printable(QString::fromUtf16(row.input)))
            << QString::fromLatin1(row.codec) << QString::fromUtf16(row.input)
            << QString::fromLatin1(row.output);
}

void TestCodecs::conversions() {
    QFETCH(QString, codec);
    QFETCH(QString, input);
    QFETCH(QString, output);
    const auto number = [](std::optional<qint32> v) { return v ? QString::number(*v) : u"-"_s; };
    const QString result = codec == u"HexToDec"   ? number(protocol::HexToDec(input))
                           : codec == u"BinToDec" ? number(protocol::BinToDec(input))
                           : codec == u"HexToBin" ? protocol::HexToBin(input)
                           : codec == u"BinToHex" ? protocol::BinToHex(input)
                           : codec == u"DecToHex" ? protocol::DecToHex(input.toInt())
                                                  : protocol::toHexText(input.toLatin1());
    QCOMPARE(result, output);
}

void TestCodecs::parseHexFrame_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("lower case, spaces anywhere") << " 4 002 f1 23 " << QByteArray::fromHex("4002F123");
    QTest::newRow("G stops the frame") << "4002G123" << QByteArray::fromHex("4002");
    QTest::newRow("odd last digit dropped") << "4003EDE" << QByteArray::fromHex("4003ED");
    QTest::newRow("line break ends the frame") << "4002CA23\r\n40" << QByteArray::fromHex("4002CA23");
    QTest::newRow("tab ends the frame") << "40\t02" << QByteArray::fromHex("40");
    QTest::newRow("spaces only") << "    " << QByteArray();
    QTest::newRow("first character no digit") << "x4002f123" << QByteArray();
    QTest::newRow("full-width digits") << u"４０"_s << QByteArray();
    QTest::newRow("no-break space") << u"40\u00A002"_s << QByteArray::fromHex("40");
}

void TestCodecs::parseHexFrame() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(protocol::parseHexFrame(text), bytes);
}

void TestCodecs::roundTripsOverEveryByte() {
    for (int n = 0; n <= 255; ++n) {
        const QString hex = u"%1"_s.arg(n, 2, 16, QLatin1Char('0')).toUpper();
        QCOMPARE(protocol::DecToHexPad(QString::number(n), 2).hex, hex);
        QCOMPARE(protocol::DecToHexPad(QString::number(n), 4).hex, u"00"_s + hex);
        QCOMPARE(protocol::HexToDec(hex.toLower()), std::optional<qint32>(n));
        const QString bits = protocol::HexToBin(hex);
        QCOMPARE(bits, u"%1"_s.arg(n, 8, 2, QLatin1Char('0')));
        QCOMPARE(protocol::BinToDec(bits), std::optional<qint32>(n));
        QCOMPARE(protocol::BinToHex(bits), protocol::DecToHex(n));
    }
}

QTEST_APPLESS_MAIN(TestCodecs)
#include "tst_codecs.moc"
