// The device's replies: cutting one quiet-time burst into frames, deciding which reply each frame
// is, and the frames that carry each reply.
#include "protocol/ReplyDecoder.h"

#include <QTest>

using namespace protocol;
using namespace Qt::StringLiterals;

namespace {
// A readable form of a reply, so that a failed comparison shows what was decoded.
struct Describe {
    QString operator()(const Unrecognised&) const { return u"-"_s; }
    QString operator()(const ConnectConfirmed&) const { return u"E1"_s; }
    QString operator()(const PortSetConfirmed&) const { return u"E2"_s; }
    QString operator()(const RestoreConfirmed&) const { return u"E4"_s; }
    QString operator()(const NetworkSetConfirmed&) const { return u"E5"_s; }
    QString operator()(const NetworkParameters& p) const {
        QStringList octets;
        for (quint8 octet : p.octets)
            octets.append(QString::number(octet));
        return u"CA "_s + octets.join(u'.');
    }
    QString operator()(const PortConfiguration& c) const {
        QString text = u"FB"_s;
        for (const PortRecord& r : c.ports)
            text += u" %1/%2/%3"_s.arg(r.baudCode).arg(r.lineByte).arg(r.functionCode);
        return text + u" main %1 switch %2"_s.arg(c.mainBaudCode).arg(c.outputSwitch);
    }
};

// MAC 0.8.220.1.2.3, IP 192.168.1.100, mask 255.255.255.0, gateway 192.168.1.1.
const char* const kCA = "4014CA0008DC010203C0A80164FFFFFF00C0A8010123";
const char* const kCAText = "CA 0.8.220.1.2.3.192.168.1.100.255.255.255.0.192.168.1.1";
// Port 1 at 115200 8N1 RS232, port 2 at 9600 7E2 RS485 full duplex, the others 1200 5N1 RS485 half
// duplex; main port 9600, output forbidden.
const char* const kFB = "401CFB600302081E01010003010003010003010003010003010003080023";
const char* const kFBText = "FB 96/3/2 8/30/1 1/0/3 1/0/3 1/0/3 1/0/3 1/0/3 1/0/3 main 8 switch 0";
} // namespace

class TestReplyDecoder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void decodeBurst_data();
    void decodeBurst();
};

void TestReplyDecoder::decodeBurst_data() {
    QTest::addColumn<QByteArray>("burst");
    QTest::addColumn<QStringList>("parts"); // hex; empty: the whole burst, "none": no part at all
    QTest::addColumn<QStringList>("replies");
    const auto row = [](const char* name, const QByteArray& hex, const QString& parts,
                        const QString& replies) {
        QTest::newRow(name) << QByteArray::fromHex(hex)
                            << (parts.isEmpty()    ? QStringList{QString::fromLatin1(hex)}
                                : parts == u"none" ? QStringList()
                                                   : parts.split(u'|'))
                            << replies.split(u'|', Qt::SkipEmptyParts);
    };
    const QByteArray ca = kCA, fb = kFB;
    row("E1", "4002E123", {}, u"E1"_s);
    row("E2", "4002E223", {}, u"E2"_s);
    row("E4", "4002E423", {}, u"E4"_s);
    row("E5", "4002E523", {}, u"E5"_s);
    row("CA", ca, {}, QString::fromLatin1(kCAText));
    row("FB", fb, {}, QString::fromLatin1(kFBText));
    row("length not examined", "4009E123", {}, u"E1"_s);
    row("E2 with payload", "4005E2AABBCC23", {}, u"E2"_s);
    row("bad end", "4002E124", {}, u"-"_s);
    row("bad start", "4102E123", {}, u"-"_s);
    row("start byte only", "40", {}, u"-"_s);
    row("no end", "4002E1", {}, u"-"_s);
    row("unknown code", "4002E323", {}, u"-"_s);
    row("request echoed", "4002CA23", {}, u"-"_s);
    row("CA short", ca.left(40) + "23", {}, u"-"_s);
    row("CA long", ca.left(42) + "0023", {}, u"-"_s);
    row("CA bad end", ca.left(42) + "24", {}, u"-"_s);
    row("FB short", fb.left(56) + "23", {}, u"-"_s);
    row("FB bad end", fb.left(58) + "40", {}, u"-"_s);
    row("empty", "", u"none"_s, {});
    row("two frames", "4002E1234002E223", u"4002E123|4002E223"_s, u"E1|E2"_s);
    row("garbage after a frame", "4002E123FF", u"4002E123|FF"_s, u"E1|-"_s);
    row("garbage before a frame", "FF4002E123", {}, u"-"_s);
    row("bad first end: one reply", "4002E1244002E223", {}, u"E1"_s);
    row("length beyond the burst", "40FFE123", {}, u"E1"_s);
    row("payload 23 is no end", "4004E12323234002E223", u"4004E1232323|4002E223"_s, u"E1|E2"_s);
    row("CA, FB, a cut frame", ca + fb + "401CFB08", QString::fromLatin1(ca + '|' + fb + "|401CFB08"),
        QString::fromLatin1(QByteArray(kCAText) + '|' + kFBText + "|-"));
}

void TestReplyDecoder::decodeBurst() {
    QFETCH(QByteArray, burst);
    QFETCH(QStringList, parts);
    QFETCH(QStringList, replies);
    QStringList cut;
    QStringList decoded;
    for (const ReplySegment& segment : protocol::decodeBurst(burst)) {
        cut.append(QString::fromLatin1(segment.bytes.toHex().toUpper()));
        decoded.append(std::visit(Describe{}, segment.reply));
        // A recognised reply is what its encoder writes (confirmations with the length 02), and
        // nothing else encodes.
        const QByteArray encoded = protocol::encodeReply(segment.reply);
        if (decoded.last() == u"-")
            QVERIFY(encoded.isEmpty());
        else if (decoded.last().size() == 2)
            QCOMPARE(encoded, QByteArray::fromHex("4002" + decoded.last().toLatin1() + "23"));
        else
            QCOMPARE(encoded, segment.bytes);
    }
    QCOMPARE(cut, parts);
    QCOMPARE(decoded, replies);
}

QTEST_APPLESS_MAIN(TestReplyDecoder)
#include "tst_replydecoder.moc"
