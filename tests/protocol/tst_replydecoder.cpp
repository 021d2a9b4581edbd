// The device's replies: cutting one quiet-time burst into frames, deciding which reply each frame
// is, and the frames that carry each reply.
#include "protocol/ReplyDecoder.h"

#include <QTest>

using namespace protocol;

namespace {

// A readable form of a reply, so that a failed comparison shows what was decoded.
struct Describe {
    QString operator()(const Unrecognised&) const { return QStringLiteral("-"); }
    QString operator()(const ConnectConfirmed&) const { return QStringLiteral("E1"); }
    QString operator()(const PortSetConfirmed&) const { return QStringLiteral("E2"); }
    QString operator()(const RestoreConfirmed&) const { return QStringLiteral("E4"); }
    QString operator()(const NetworkSetConfirmed&) const { return QStringLiteral("E5"); }
    QString operator()(const NetworkParameters& p) const {
        QStringList octets;
        for (quint8 octet : p.octets)
            octets.append(QString::number(octet));
        return QStringLiteral("CA ") + octets.join(QLatin1Char('.'));
    }
    QString operator()(const PortConfiguration& c) const {
        QStringList fields;
        for (const PortRecord& r : c.ports)
            fields.append(QStringLiteral("%1/%2/%3").arg(r.baudCode).arg(r.lineByte).arg(r.functionCode));
        return QStringLiteral("FB %1 main %2 switch %3")
            .arg(fields.join(u' '))
            .arg(c.mainBaudCode)
            .arg(c.outputSwitch);
    }
};

QString describe(const Reply& reply) {
    return std::visit(Describe{}, reply);
}
QByteArray hex(const QByteArray& digits) {
    return QByteArray::fromHex(digits);
}

// MAC 0.8.220.1.2.3, IP 192.168.1.100, mask 255.255.255.0, gateway 192.168.1.1.
const QByteArray kOctets = "0008DC010203C0A80164FFFFFF00C0A80101";
const QString kNetwork = QStringLiteral("CA 0.8.220.1.2.3.192.168.1.100.255.255.255.0.192.168.1.1");
// Port 1 at 115200 8N1 RS232, port 2 at 9600 7E2 RS485 full duplex, the others 1200 5N1 RS485 half
// duplex; main port 9600, output forbidden.
const QByteArray kRecords = "600302081E01" + QByteArray("010003").repeated(6);
const QString kPorts = QStringLiteral("FB 96/3/2 8/30/1 1/0/3 1/0/3 1/0/3 1/0/3 1/0/3 1/0/3 main 8 switch 0");
const QByteArray kNetworkReply = hex("4014CA" + kOctets + "23");
const QByteArray kPortReply = hex("401CFB" + kRecords + "080023");

} // namespace

class TestReplyDecoder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void decodeBurst_data();
    void decodeBurst();
};

void TestReplyDecoder::decodeBurst_data() {
    QTest::addColumn<QByteArray>("burst");
    QTest::addColumn<QByteArrayList>("parts");
    QTest::addColumn<QStringList>("replies");
    const QByteArray e1 = hex("4002E123");
    const QByteArray e2 = hex("4002E223");
    const auto one = [](const QByteArray& b, const QString& r) {
        return std::pair{QByteArrayList{b}, QStringList{r}};
    };
    const struct {
        const char* name;
        QByteArray burst;
        std::pair<QByteArrayList, QStringList> expected;
    } rows[] = {
        {"E1", e1, one(e1, QStringLiteral("E1"))},
        {"E2", e2, one(e2, QStringLiteral("E2"))},
        {"E4", hex("4002E423"), one(hex("4002E423"), QStringLiteral("E4"))},
        {"E5", hex("4002E523"), one(hex("4002E523"), QStringLiteral("E5"))},
        {"CA", kNetworkReply, one(kNetworkReply, kNetwork)},
        {"FB", kPortReply, one(kPortReply, kPorts)},
        {"length not examined", hex("4009E123"), one(hex("4009E123"), QStringLiteral("E1"))},
        {"E2 with payload", hex("4005E2AABBCC23"), one(hex("4005E2AABBCC23"), QStringLiteral("E2"))},
        {"bad end", hex("4002E124"), one(hex("4002E124"), QStringLiteral("-"))},
        {"bad start", hex("4102E123"), one(hex("4102E123"), QStringLiteral("-"))},
        {"start byte only", hex("40"), one(hex("40"), QStringLiteral("-"))},
        {"no end", hex("4002E1"), one(hex("4002E1"), QStringLiteral("-"))},
        {"unknown code", hex("4002E323"), one(hex("4002E323"), QStringLiteral("-"))},
        {"request echoed", hex("4002CA23"), one(hex("4002CA23"), QStringLiteral("-"))},
        {"CA short", hex("4013CA" + kOctets.left(34) + "23"),
         one(hex("4013CA" + kOctets.left(34) + "23"), QStringLiteral("-"))},
        {"CA long", hex("4015CA" + kOctets + "0023"),
         one(hex("4015CA" + kOctets + "0023"), QStringLiteral("-"))},
        {"CA bad end", hex("4014CA" + kOctets + "24"),
         one(hex("4014CA" + kOctets + "24"), QStringLiteral("-"))},
        {"FB short", hex("401BFB" + kRecords + "0823"),
         one(hex("401BFB" + kRecords + "0823"), QStringLiteral("-"))},
        {"FB bad end", hex("401CFB" + kRecords + "080040"),
         one(hex("401CFB" + kRecords + "080040"), QStringLiteral("-"))},
        {"empty", QByteArray(), {}},
        {"two frames", e1 + e2, {{e1, e2}, {QStringLiteral("E1"), QStringLiteral("E2")}}},
        {"garbage after a frame",
         e1 + hex("FF"),
         {{e1, hex("FF")}, {QStringLiteral("E1"), QStringLiteral("-")}}},
        {"garbage before a frame", hex("FF") + e1, one(hex("FF") + e1, QStringLiteral("-"))},
        {"bad first end: one reply", hex("4002E124") + e2, one(hex("4002E124") + e2, QStringLiteral("E1"))},
        {"length beyond the burst", hex("40FFE123"), one(hex("40FFE123"), QStringLiteral("E1"))},
        {"payload 23 is no end",
         hex("4004E1232323") + e2,
         {{hex("4004E1232323"), e2}, {QStringLiteral("E1"), QStringLiteral("E2")}}},
        {"CA then FB then a cut frame",
         kNetworkReply + kPortReply + hex("401CFB08"),
         {{kNetworkReply, kPortReply, hex("401CFB08")}, {kNetwork, kPorts, QStringLiteral("-")}}},
    };
    for (const auto& row : rows)
        QTest::newRow(row.name) << row.burst << row.expected.first << row.expected.second;
}

void TestReplyDecoder::decodeBurst() {
    QFETCH(QByteArray, burst);
    QFETCH(QByteArrayList, parts);
    QFETCH(QStringList, replies);
    QByteArrayList cut;
    QStringList decoded;
    for (const ReplySegment& segment : protocol::decodeBurst(burst)) {
        cut.append(segment.bytes);
        decoded.append(describe(segment.reply));
        // A recognised reply is exactly what its encoder writes, and nothing else encodes.
        const QByteArray encoded = protocol::encodeReply(segment.reply);
        if (std::holds_alternative<Unrecognised>(segment.reply))
            QVERIFY(encoded.isEmpty());
        else if (decoded.last() == QStringLiteral("E1") || decoded.last() == QStringLiteral("E2"))
            QCOMPARE(encoded, hex(QByteArray("4002") + QByteArray(decoded.last().toLatin1()) + "23"));
        else
            QCOMPARE(encoded, segment.bytes);
    }
    QCOMPARE(cut, parts);
    QCOMPARE(decoded, replies);
}

QTEST_APPLESS_MAIN(TestReplyDecoder)
#include "tst_replydecoder.moc"
