// SPDX-License-Identifier: MIT
// The conversions between decimal text, hex text and bytes: what an operator can type or paste,
// widths, overflow, and a frame typed in hex.
#include "protocol/Codecs.h"
#include "protocol/HexText.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCodecs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // DecToHexPad rows read "DecToHexPad2" (the width) and give the hex, or the fault's text.
    void conversions_data() {
        QTest::addColumn<QString>("codec");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        const QString empty = u"输入不能为空！"_s, range = u"超出设定范围，请重新输入！"_s;
        const auto row = [](const char* codec, const QString& input, const QString& output) {
            QTest::addRow("%s '%ls'", codec, qUtf16Printable(input))
                << QString::fromLatin1(codec) << input << output;
        };
        row("DecToHexPad2", u"10"_s, u"0A"_s);
        row("DecToHexPad4", u"255"_s, u"00FF"_s);
        row("DecToHexPad2", u"300"_s, u"2C"_s);
        row("DecToHexPad2", u"65535"_s, u"FF"_s);
        row("DecToHexPad2", u"65536"_s, range); // five hex digits
        row("DecToHexPad4", u"4660"_s, u"1234"_s);
        row("DecToHexPad4", u"65536"_s, range);
        row("DecToHexPad2", u"00001"_s, u"01"_s);
        row("DecToHexPad4", u"  12345  "_s, u"3039"_s);
        row("DecToHexPad2", u""_s, empty);
        row("DecToHexPad4", u"   "_s, empty);
        for (const QString& refused : {u"000001"_s, u"."_s, u"1.5"_s, u"-5"_s, u"1 2"_s, u"\t5"_s, u"１２"_s})
            row("DecToHexPad2", refused, range);
        row("toHexText", u"\u0007\u00FF\u000A@"_s, u"07FF0A40"_s);
        // A typed frame: spaces anywhere, an odd last digit dropped, the first other character ends it.
        row("parseHexFrame", u" 4 002 f1 23 "_s, u"4002F123"_s);
        row("parseHexFrame", u"4002G123"_s, u"4002"_s);
        row("parseHexFrame", u"4003EDE"_s, u"4003ED"_s);
        row("parseHexFrame", u"4002CA23\r\n40"_s, u"4002CA23"_s);
        row("parseHexFrame", u"40\t02"_s, u"40"_s);
        for (const QString& none : {u"    "_s, u"x4002f123"_s, u"４０"_s})
            row("parseHexFrame", none, QString());
    }

    void conversions() {
        QFETCH(QString, codec);
        QFETCH(QString, input);
        QFETCH(QString, output);
        if (codec.startsWith(u"DecToHexPad")) {
            const auto result = protocol::DecToHexPad(input, codec.back().digitValue());
            QCOMPARE(result ? result.value() : protocol::padFaultText(result.fault()), output);
            return;
        }
        const QString result = codec == u"toHexText" ? protocol::toHexText(input.toLatin1())
                                                     : protocol::toHexText(protocol::parseHexFrame(input));
        QCOMPARE(result, output);
    }
};

QTEST_APPLESS_MAIN(TestCodecs)
#include "tst_codecs.moc"
