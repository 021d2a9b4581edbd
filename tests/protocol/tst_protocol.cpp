// SPDX-License-Identifier: MIT
// The protocol core: the conversions between decimal text, hex text and bytes (what an operator can
// type or paste, widths, overflow, a frame typed in hex); the console's forward frame for one
// extension port, or why none is built; and cutting a quiet-time burst of replies into frames.
#include "protocol/Codecs.h"
#include "protocol/ForwardFrame.h"
#include "protocol/HexText.h"
#include "protocol/ReplyDecoder.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Fault = protocol::ForwardFault;
using Outcome = std::optional<Fault>; // nothing: the frame is built

Q_DECLARE_METATYPE(Outcome)

namespace {
// n data bytes as 2n digits: 00 01 02 ...
QString data(int bytes) {
    QString digits;
    for (int i = 0; i < bytes; ++i)
        digits += u"%1"_s.arg(i % 256, 2, 16, QLatin1Char('0')).toUpper();
    return digits;
}
// MAC 0.8.220.1.2.3, IP 192.168.1.100, mask 255.255.255.0, gateway 192.168.1.1.
const QByteArray kCA = "4014CA0008DC010203C0A80164FFFFFF00C0A8010123";
// Port 1 at 115200 8N1 RS232, port 2 at 9600 7E2 RS485 full duplex, the others 1200 5N1 RS485 half
// duplex; main port 9600, output forbidden.
const QByteArray kFB = "401CFB600302081E01010003010003010003010003010003010003080023";
} // namespace

class TestProtocol : public QObject {
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

    void forwardFrame_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("port");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("text"); // the frame, or the message shown
        const auto row = [](const char* name, const QString& command, const QString& port, Outcome outcome,
                            const QString& text) {
            QTest::newRow(name) << command << port << outcome << text;
        };
        const QString illegal = u"命令中含有非法字符!"_s, badPort = u"转发串口无效!"_s;
        const Outcome built;
        row("to port 2", u"01 02 03"_s, u"2"_s, built, u"4006DD0201020323"_s);
        row("odd digit dropped", u"a1b"_s, u"8"_s, built, u"4004DD08A123"_s);
        row("lower case folded", u"abcdef"_s, u"3"_s, built, u"4006DD03ABCDEF23"_s);
        row("spaces inside pairs", u" 4 0 2 3 "_s, u"4"_s, built, u"4005DD04402323"_s);
        row("one digit: no data", u"5"_s, u"1"_s, built, u"4003DD0123"_s);
        row("13 bytes: length 10", data(13), u"1"_s, built, u"4010DD01"_s + data(13) + u"23"_s);
        row("252 bytes and an odd digit", data(252) + u"7"_s, u"5"_s, built,
            u"40FFDD05"_s + data(252) + u"23"_s);
        row("253 bytes", data(253), u"1"_s, Fault::TooLong, u"命令过长,最多只能转发252个字节!"_s);
        row("empty", u""_s, u"1"_s, Fault::Empty, u"命令为空!"_s);
        row("spaces only: silent", u"   "_s, u"1"_s, Fault::Blank, u""_s);
        row("x", u"0x12"_s, u"1"_s, Fault::IllegalChar, illegal);
        row("tab", u"01\t02"_s, u"1"_s, Fault::IllegalChar, illegal);
        row("ligature ff", u"\uFB00"_s, u"1"_s, Fault::IllegalChar, illegal);
        row("full-width digits", u"０１"_s, u"1"_s, Fault::IllegalChar, illegal);
        row("NUL", QChar(0) + u"01"_s, u"1"_s, Fault::IllegalChar, illegal);
        row("port 0", u"01"_s, u"0"_s, Fault::BadPort, badPort);
        row("port 9", u"01"_s, u"9"_s, Fault::BadPort, badPort);
        row("no port", u"01"_s, u""_s, Fault::BadPort, badPort);
        row("port with a NUL", u"01"_s, u"1"_s + QChar(0) + u"7"_s, Fault::BadPort, badPort);
    }

    void forwardFrame() {
        QFETCH(QString, command);
        QFETCH(QString, port);
        QFETCH(Outcome, outcome);
        QFETCH(QString, text);
        const auto built = protocol::ForwardFrame::build(command, port);
        QCOMPARE(built ? Outcome() : Outcome(built.fault()), outcome);
        QCOMPARE(built ? built.value() : protocol::ForwardFrame::messageFor(built.fault()), text);
    }

    void decodeBurst_data() {
        QTest::addColumn<QByteArray>("burst");
        QTest::addColumn<QString>("parts"); // hex, "|" between parts; empty: the whole burst
        // Each part's reply as its encoder writes it (confirmations with the length 02); "-": none.
        QTest::addColumn<QString>("replies");
        const auto row = [](const char* name, const QByteArray& hex, const QString& parts,
                            const QString& replies) {
            QTest::newRow(name) << QByteArray::fromHex(hex)
                                << (parts.isEmpty() ? QString::fromLatin1(hex) : parts) << replies;
        };
        const QString none = u"-"_s;
        for (const char* confirmation : {"4002E123", "4002E223", "4002E423", "4002E523"})
            row(confirmation, confirmation, {}, QString::fromLatin1(confirmation));
        row("CA", kCA, {}, QString::fromLatin1(kCA));
        row("FB", kFB, {}, QString::fromLatin1(kFB));
        row("length not examined", "4009E123", {}, u"4002E123"_s);
        row("E2 with payload", "4005E2AABBCC23", {}, u"4002E223"_s);
        row("bad end", "4002E124", {}, none);
        row("bad start", "4102E123", {}, none);
        row("no end", "4002E1", {}, none);
        row("unknown code", "4002E323", {}, none);
        row("request echoed", "4002CA23", {}, none);
        row("CA short", kCA.left(40) + "23", {}, none);
        row("CA long", kCA.left(42) + "0023", {}, none);
        row("FB short", kFB.left(56) + "23", {}, none);
        row("FB bad end", kFB.left(58) + "40", {}, none);
        QTest::newRow("empty") << QByteArray() << QString() << QString();
        row("two frames", "4002E1234002E223", u"4002E123|4002E223"_s, u"4002E123|4002E223"_s);
        row("garbage after a frame", "4002E123FF", u"4002E123|FF"_s, u"4002E123|-"_s);
        row("garbage before a frame", "FF4002E123", {}, none);
        row("bad first end: one reply", "4002E1244002E223", {}, u"4002E123"_s);
        row("length beyond the burst", "40FFE123", {}, u"4002E123"_s);
        row("payload 23 is no end", "4004E12323234002E223", u"4004E1232323|4002E223"_s,
            u"4002E123|4002E223"_s);
        row("CA, FB, a cut frame", kCA + kFB + "401CFB08", QString::fromLatin1(kCA + '|' + kFB + "|401CFB08"),
            QString::fromLatin1(kCA + '|' + kFB + "|-"));
    }

    void decodeBurst() {
        QFETCH(QByteArray, burst);
        QFETCH(QString, parts);
        QFETCH(QString, replies);
        QStringList cut;
        QStringList decoded;
        for (const protocol::ReplySegment& segment : protocol::decodeBurst(burst)) {
            cut.append(QString::fromLatin1(segment.bytes.toHex().toUpper()));
            const QByteArray encoded = protocol::encodeReply(segment.reply);
            decoded.append(encoded.isEmpty() ? u"-"_s : QString::fromLatin1(encoded.toHex().toUpper()));
        }
        QCOMPARE(cut.join(u'|'), parts);
        QCOMPARE(decoded.join(u'|'), replies);
    }

    // Which byte is which field: the round trips above cannot tell a consistent swap.
    void decodesTheFields() {
        protocol::PortConfiguration ports;
        ports.ports.fill({0x01, 0x00, 0x03});
        ports.ports[0] = {0x60, 0x03, 0x02};
        ports.ports[1] = {0x08, 0x1E, 0x01};
        ports.mainBaudCode = 0x08;
        QCOMPARE(protocol::decodeReply(QByteArray::fromHex(kFB)), protocol::Reply(ports));
        const protocol::NetworkParameters network{
            {0, 8, 220, 1, 2, 3, 192, 168, 1, 100, 255, 255, 255, 0, 192, 168, 1, 1}};
        QCOMPARE(protocol::decodeReply(QByteArray::fromHex(kCA)), protocol::Reply(network));
    }
};

QTEST_APPLESS_MAIN(TestProtocol)
#include "tst_protocol.moc"
