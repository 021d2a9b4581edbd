// SPDX-License-Identifier: MIT
// The conversions between numbers, decimal, hexadecimal and bit texts and bytes: round trips over
// every byte value, then what the round trips cannot show (what an operator can type or paste,
// widths, overflow), and a frame typed in hex.
#include "protocol/Codecs.h"
#include "protocol/HexText.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCodecs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTripsOverEveryByte() {
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

    // DecToHexPad rows read "DecToHexPad2" (the width) and give the hex, or the error's text.
    void conversions_data() {
        QTest::addColumn<QString>("codec");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output"); // "-" for an overflow
        const QString empty = u"输入不能为空！"_s, range = u"超出设定范围，请重新输入！"_s;
        const auto row = [](const char* codec, const QString& input, const QString& output) {
            QTest::addRow("%s '%ls'", codec, qUtf16Printable(input))
                << QString::fromLatin1(codec) << input << output;
        };
        row("DecToHexPad2", u"256"_s, u"00"_s);
        row("DecToHexPad2", u"300"_s, u"2C"_s);
        row("DecToHexPad2", u"65535"_s, u"FF"_s);
        row("DecToHexPad2", u"65536"_s, QString()); // five hex digits: empty, and no error
        row("DecToHexPad4", u"4660"_s, u"1234"_s);
        row("DecToHexPad4", u"65536"_s, QString());
        row("DecToHexPad3", u"5"_s, QString());
        row("DecToHexPad2", u"00001"_s, u"01"_s);
        row("DecToHexPad4", u"  12345  "_s, u"3039"_s);
        row("DecToHexPad2", u""_s, empty);
        row("DecToHexPad4", u"   "_s, empty);
        for (const QString& refused : {u"000001"_s, u"."_s, u"1.5"_s, u"-5"_s, u"1 2"_s, u"\t5"_s, u"１２"_s})
            row("DecToHexPad2", refused, range);
        row("HexToDec", u"aBc"_s, u"2748"_s);
        row("HexToDec", u"1G"_s, u"16"_s);
        row("HexToDec", u"G1"_s, u"1"_s);
        row("HexToDec", u""_s, u"0"_s);
        row("HexToDec", u"1 "_s, u"16"_s);
        row("HexToDec", u"7FFFFFFF"_s, u"2147483647"_s);
        row("HexToDec", u"0000000001"_s, u"1"_s);
        row("HexToDec", u"80000000"_s, u"-"_s);
        row("HexToDec", u"100000000"_s, u"-"_s);
        row("HexToDec", u"\uFB00"_s, u"0"_s);
        row("HexToDec", u"\u00DF1"_s, u"1"_s);
        row("HexToDec", u"1\u00DF"_s, u"16"_s);
        row("BinToDec", u""_s, u"0"_s);
        row("BinToDec", u"120"_s, u"0"_s);
        row("BinToDec", u"9111"_s, u"0"_s);
        row("BinToDec", u"1x1"_s, u"5"_s);
        row("BinToDec", u"1 "_s, u"2"_s);
        row("BinToDec", u"111111111111111111111111111111"_s, u"1073741823"_s);
        row("BinToDec", u"0000000000000000000000000000000"_s, u"-"_s);
        row("BinToDec", u"2000000000000000000000000000000"_s, u"-"_s);
        row("HexToBin", u"c"_s, u"00001100"_s);
        row("HexToBin", u"1F3"_s, u"00011111"_s);
        row("HexToBin", u"ZZ"_s, u""_s);
        row("HexToBin", u""_s, u"0000"_s);
        row("HexToBin", u"Z5"_s, u"0101"_s);
        row("HexToBin", u"5Z"_s, u"0101"_s);
        row("HexToBin", u"\uFB00"_s, u"0000"_s);
        row("BinToHex", u"101"_s, u"5"_s);
        row("BinToHex", u"00000000"_s, u""_s);
        row("BinToHex", u"100000000"_s, u"100"_s);
        row("BinToHex", u"1x110101"_s, u"5"_s);
        row("BinToHex", u"01012111"_s, u"5"_s);
        row("DecToHex", u"0"_s, u""_s);
        row("DecToHex", u"-5"_s, u""_s);
        row("DecToHex", u"2147483647"_s, u"7FFFFFFF"_s);
        row("toHexText", u"\u0007\u00FF\u000A@"_s, u"07FF0A40"_s);
        // A typed frame: spaces anywhere, an odd last digit dropped, the first other character ends it.
        row("parseHexFrame", u" 4 002 f1 23 "_s, u"4002F123"_s);
        row("parseHexFrame", u"4002G123"_s, u"4002"_s);
        row("parseHexFrame", u"4003EDE"_s, u"4003ED"_s);
        row("parseHexFrame", u"4002CA23\r\n40"_s, u"4002CA23"_s);
        row("parseHexFrame", u"40\t02"_s, u"40"_s);
        row("parseHexFrame", u"40\u00A002"_s, u"40"_s);
        for (const QString& none : {u"    "_s, u"x4002f123"_s, u"４０"_s})
            row("parseHexFrame", none, QString());
    }

    void conversions() {
        QFETCH(QString, codec);
        QFETCH(QString, input);
        QFETCH(QString, output);
        const auto number = [](std::optional<qint32> v) { return v ? QString::number(*v) : u"-"_s; };
        if (codec.startsWith(u"DecToHexPad")) { // an error gives no digits, a value no message
            const protocol::PadResult result = protocol::DecToHexPad(input, codec.back().digitValue());
            QCOMPARE(result.hex + protocol::padErrorText(result.error), output);
            return;
        }
        const QString result = codec == u"HexToDec"    ? number(protocol::HexToDec(input))
                               : codec == u"BinToDec"  ? number(protocol::BinToDec(input))
                               : codec == u"HexToBin"  ? protocol::HexToBin(input)
                               : codec == u"BinToHex"  ? protocol::BinToHex(input)
                               : codec == u"DecToHex"  ? protocol::DecToHex(input.toInt())
                               : codec == u"toHexText" ? protocol::toHexText(input.toLatin1())
                                                       : protocol::toHexText(protocol::parseHexFrame(input));
        QCOMPARE(result, output);
    }
};

QTEST_APPLESS_MAIN(TestCodecs)
#include "tst_codecs.moc"
