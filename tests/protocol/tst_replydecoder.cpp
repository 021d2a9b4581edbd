// The device's replies: cutting one quiet-time burst into frames, deciding which reply each frame
// is, and the frames that carry each reply.
#include "protocol/ReplyDecoder.h"

#include <QRandomGenerator>
#include <QTest>

using namespace protocol;

Q_DECLARE_METATYPE(protocol::Reply)

namespace {

// A readable form of a reply, so that a failed comparison shows what was decoded.
struct Describe {
    QString operator()(const Unrecognised&) const { return QStringLiteral("unrecognised"); }
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
        return QStringLiteral("FB ") + fields.join(QLatin1Char(' ')) +
               QStringLiteral(" main %1 switch %2").arg(c.mainBaudCode).arg(c.outputSwitch);
    }
};

QString describe(const Reply& reply) {
    return std::visit(Describe{}, reply);
}

// The network octets of the frame example: MAC 0.8.220.1.2.3, IP 192.168.1.100,
// mask 255.255.255.0, gateway 192.168.1.1.
const char* const kNetworkOctets = "0008DC010203C0A80164FFFFFF00C0A80101";

NetworkParameters exampleNetwork() {
    NetworkParameters p;
    p.octets = {0, 8, 220, 1, 2, 3, 192, 168, 1, 100, 255, 255, 255, 0, 192, 168, 1, 1};
    return p;
}

// Port 1 at 115200 8N1 RS232, port 2 at 9600 even parity 2 stop bits 7 data bits RS485 full
// duplex, the others 1200 5N1 RS485 half duplex; main port 9600, output forbidden.
const char* const kPortRecords = "600302"
                                 "081E01"
                                 "010003"
                                 "010003"
                                 "010003"
                                 "010003"
                                 "010003"
                                 "010003";

PortConfiguration exampleConfiguration() {
    PortConfiguration c;
    c.ports.fill({0x01, 0x00, 0x03});
    c.ports[0] = {0x60, 0x03, 0x02};
    c.ports[1] = {0x08, 0x1E, 0x01};
    c.mainBaudCode = 0x08;
    c.outputSwitch = 0x00;
    return c;
}

QByteArray hex(const char* digits) {
    return QByteArray::fromHex(digits);
}
QByteArray hex(const QByteArray& digits) {
    return QByteArray::fromHex(digits);
}

QByteArray networkReply() {
    return hex(QByteArray("4014CA") + kNetworkOctets + "23");
}
QByteArray portReply() {
    return hex(QByteArray("401CFB") + kPortRecords + "0800" + "23");
}

} // namespace

class TestReplyDecoder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void decodeReply_data();
    void decodeReply();
    void splitBurst_data();
    void splitBurst();
    void decodeBurst_data();
    void decodeBurst();
    void encodeReply_data();
    void encodeReply();
};

void TestReplyDecoder::decodeReply_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Reply>("reply");

    const Reply none = Unrecognised{};

    QTest::newRow("E1") << hex("4002E123") << Reply(ConnectConfirmed{});
    QTest::newRow("E2") << hex("4002E223") << Reply(PortSetConfirmed{});
    QTest::newRow("E4") << hex("4002E423") << Reply(RestoreConfirmed{});
    QTest::newRow("E5") << hex("4002E523") << Reply(NetworkSetConfirmed{});
    QTest::newRow("CA complete") << networkReply() << Reply(exampleNetwork());
    QTest::newRow("FB complete") << portReply() << Reply(exampleConfiguration());

    // The length byte is not examined for confirmations.
    QTest::newRow("E1 with wrong length") << hex("4009E123") << Reply(ConnectConfirmed{});
    QTest::newRow("E2 with payload") << hex("4005E2AABBCC23") << Reply(PortSetConfirmed{});

    QTest::newRow("E1 bad end") << hex("4002E124") << none;
    QTest::newRow("E5 bad end") << hex("4002E500") << none;
    QTest::newRow("E1 bad start") << hex("4102E123") << none;
    QTest::newRow("CA bad start") << hex(QByteArray("4114CA") + kNetworkOctets + "23") << none;
    QTest::newRow("single byte") << hex("07") << none;
    QTest::newRow("start byte only") << hex("40") << none;
    QTest::newRow("no code") << hex("4002") << none;
    QTest::newRow("E1 without end") << hex("4002E1") << none;
    QTest::newRow("empty") << QByteArray() << none;
    QTest::newRow("unknown code E3") << hex("4002E323") << none;
    QTest::newRow("request code F1") << hex("4002F123") << none;
    QTest::newRow("code in lower nibble E") << hex("40020E23") << none;

    QTest::newRow("CA request echoed") << hex("4002CA23") << none;
    QTest::newRow("CA one octet short")
        << hex(QByteArray("4013CA") + QByteArray(kNetworkOctets).left(34) + "23") << none;
    QTest::newRow("CA one byte long") << hex(QByteArray("4015CA") + kNetworkOctets + "0023") << none;
    QTest::newRow("CA complete but bad end") << hex(QByteArray("4014CA") + kNetworkOctets + "24") << none;
    QTest::newRow("FB request echoed") << hex("4002FB23") << none;
    QTest::newRow("FB one byte short") << hex(QByteArray("401BFB") + kPortRecords + "08" + "23") << none;
    QTest::newRow("FB one byte long") << hex(QByteArray("401DFB") + kPortRecords + "080000" + "23") << none;
    QTest::newRow("FB complete but bad end")
        << hex(QByteArray("401CFB") + kPortRecords + "0800" + "40") << none;

    // Payload bytes may be 0x40 or 0x23: no escaping.
    NetworkParameters markers;
    markers.octets.fill(0x23);
    markers.octets[0] = 0x40;
    QTest::newRow("CA octets 40 and 23")
        << hex(QByteArray("4014CA40") + QByteArray("23").repeated(17) + "23") << Reply(markers);
}

void TestReplyDecoder::decodeReply() {
    QFETCH(QByteArray, bytes);
    QFETCH(Reply, reply);

    const Reply decoded = protocol::decodeReply(bytes);
    QCOMPARE(describe(decoded), describe(reply));
    QVERIFY(decoded == reply);
}

void TestReplyDecoder::splitBurst_data() {
    QTest::addColumn<QByteArray>("burst");
    QTest::addColumn<QByteArrayList>("parts");

    const QByteArray e1 = hex("4002E123");
    const QByteArray e2 = hex("4002E223");
    const QByteArray e5 = hex("4002E523");

    QTest::newRow("empty") << QByteArray() << QByteArrayList{};
    QTest::newRow("one frame") << e1 << QByteArrayList{e1};
    QTest::newRow("two frames") << e1 + e2 << QByteArrayList{e1, e2};
    QTest::newRow("three frames") << e1 + e2 + e5 << QByteArrayList{e1, e2, e5};
    QTest::newRow("garbage after a frame") << e1 + hex("FF") << QByteArrayList{e1, hex("FF")};
    QTest::newRow("frame then a cut frame") << e1 + hex("4002E2") << QByteArrayList{e1, hex("4002E2")};
    QTest::newRow("frame, garbage, frame") << e1 + hex("07") + e2 << QByteArrayList{e1, hex("07") + e2};
    QTest::newRow("garbage before a frame") << hex("FF") + e1 << QByteArrayList{hex("FF") + e1};
    QTest::newRow("bad first end byte") << hex("4002E124") + e2 << QByteArrayList{hex("4002E124") + e2};
    QTest::newRow("length beyond the burst") << hex("40FFE123") << QByteArrayList{hex("40FFE123")};
    QTest::newRow("single byte") << hex("07") << QByteArrayList{hex("07")};
    QTest::newRow("start byte only") << hex("40") << QByteArrayList{hex("40")};
    // The frame's end is found through its length byte, not at the first 0x23.
    QTest::newRow("data frame holding 23, then E5")
        << networkReply() + e5 << QByteArrayList{networkReply(), e5};
    QTest::newRow("payload 23 is no end")
        << hex("4004E1232323") + e2 << QByteArrayList{hex("4004E1232323"), e2};
    QTest::newRow("two data replies")
        << networkReply() + portReply() << QByteArrayList{networkReply(), portReply()};
}

void TestReplyDecoder::splitBurst() {
    QFETCH(QByteArray, burst);
    QFETCH(QByteArrayList, parts);

    const std::vector<QByteArray> split = protocol::splitBurst(burst);
    QCOMPARE(QByteArrayList(split.begin(), split.end()), parts);
}

void TestReplyDecoder::decodeBurst_data() {
    QTest::addColumn<QByteArray>("burst");
    QTest::addColumn<QStringList>("replies");

    const QString none = describe(Unrecognised{});
    QTest::newRow("empty") << QByteArray() << QStringList{};
    QTest::newRow("E1 then E2") << hex("4002E1234002E223")
                                << QStringList{QStringLiteral("E1"), QStringLiteral("E2")};
    QTest::newRow("E1 then garbage") << hex("4002E123FF") << QStringList{QStringLiteral("E1"), none};
    QTest::newRow("garbage then E1") << hex("FF4002E123") << QStringList{none};
    QTest::newRow("CA then E5") << networkReply() + hex("4002E523")
                                << QStringList{describe(exampleNetwork()), QStringLiteral("E5")};
    QTest::newRow("FB then E2") << portReply() + hex("4002E223")
                                << QStringList{describe(exampleConfiguration()), QStringLiteral("E2")};
    QTest::newRow("E4 then a cut FB") << hex("4002E423401CFB0803") << QStringList{QStringLiteral("E4"), none};
}

void TestReplyDecoder::decodeBurst() {
    QFETCH(QByteArray, burst);
    QFETCH(QStringList, replies);

    const std::vector<ReplySegment> segments = protocol::decodeBurst(burst);
    QStringList decoded;
    QByteArray joined;
    for (const ReplySegment& segment : segments) {
        decoded.append(describe(segment.reply));
        joined += segment.bytes;
    }
    QCOMPARE(decoded, replies);
    QCOMPARE(joined, burst); // no byte is lost or repeated
}

void TestReplyDecoder::encodeReply_data() {
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("E1") << hex("4002E123");
    QTest::newRow("E2") << hex("4002E223");
    QTest::newRow("E4") << hex("4002E423");
    QTest::newRow("E5") << hex("4002E523");
    QTest::newRow("CA") << networkReply();
    QTest::newRow("FB") << portReply();
    QTest::newRow("CA all zero") << hex(QByteArray("4014CA") + QByteArray(36, '0') + "23");
    QTest::newRow("FB all FF") << hex(QByteArray("401CFB") + QByteArray(52, 'F') + "23");
}

void TestReplyDecoder::encodeReply() {
    QFETCH(QByteArray, bytes);
    QCOMPARE(protocol::encodeReply(protocol::decodeReply(bytes)), bytes);
}

QTEST_APPLESS_MAIN(TestReplyDecoder)

#include "tst_replydecoder.moc"
