// SPDX-License-Identifier: MIT
// The device's replies: cutting one quiet-time burst into frames, deciding which reply each frame
// is, and the frames that carry each reply.
#include "protocol/ReplyDecoder.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// MAC 0.8.220.1.2.3, IP 192.168.1.100, mask 255.255.255.0, gateway 192.168.1.1.
const QByteArray kCA = "4014CA0008DC010203C0A80164FFFFFF00C0A8010123";
// Port 1 at 115200 8N1 RS232, port 2 at 9600 7E2 RS485 full duplex, the others 1200 5N1 RS485 half
// duplex; main port 9600, output forbidden.
const QByteArray kFB = "401CFB600302081E01010003010003010003010003010003010003080023";
} // namespace

class TestReplyDecoder : public QObject {
    Q_OBJECT
private Q_SLOTS:
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

QTEST_APPLESS_MAIN(TestReplyDecoder)
#include "tst_replydecoder.moc"
