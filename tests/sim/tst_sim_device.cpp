#include "sim/Device.h"

#include <QTest>

using sim::Device;
using sim::Outcome;

namespace {

QByteArray hex(const char* digits) {
    return QByteArray::fromHex(digits);
}

const QByteArray kFactoryPorts = hex("080302080302080302080302080302080302080302080302"
                                     "0801");
const QByteArray kFactoryNetwork = hex("0008DC010203"
                                       "C0A80164"
                                       "FFFFFF00"
                                       "C0A80101");

QByteArray frame(quint8 command, const QByteArray& payload) {
    QByteArray bytes;
    bytes.append(char(0x40));
    bytes.append(char(payload.size() + 2));
    bytes.append(char(command));
    bytes.append(payload);
    bytes.append(char(0x23));
    return bytes;
}

QByteArray portSet(const QByteArray& payload) {
    return frame(0xCD, payload);
}
QByteArray networkWrite(const QByteArray& octets) {
    return frame(0xCE, octets);
}
const QByteArray kPortSync = hex("4002FB23");
const QByteArray kNetworkRead = hex("4002CA23");
const QByteArray kRestore = hex("4003EDEE23");

} // namespace

class DeviceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answersEachRequest_data();
    void answersEachRequest();
    void rejectsMalformedFrames_data();
    void rejectsMalformedFrames();
    void syncReturnsWhatWasSet_data();
    void syncReturnsWhatWasSet();
    void networkReadReturnsWhatWasWritten_data();
    void networkReadReturnsWhatWasWritten();
    void restoreBringsBackTheFactoryState();
    void forwardsDataToItsPort_data();
    void forwardsDataToItsPort();
};

void DeviceTest::answersEachRequest_data() {
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("connect") << hex("4002F123") << hex("4002E123");
    QTest::newRow("port set") << portSet(hex("600302010E01100003"
                                             "081B02082B02083F02200302300302"
                                             "6001"))
                              << hex("4002E223");
    QTest::newRow("port sync, factory") << kPortSync << frame(0xFB, kFactoryPorts);
    QTest::newRow("restore") << kRestore << hex("4002E423");
    QTest::newRow("network read, factory")
        << kNetworkRead << hex("4014CA0008DC010203C0A80164FFFFFF00C0A8010123");
    QTest::newRow("network write") << networkWrite(QByteArray(18, '\0')) << hex("4002E523");
    QTest::newRow("forward") << hex("4006DD0201020323") << QByteArray();
    QTest::newRow("forward without data") << hex("4003DD0123") << QByteArray();
}

void DeviceTest::answersEachRequest() {
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);
    Device device;
    const Outcome outcome = device.handle(request);
    QVERIFY2(outcome.accepted(), qPrintable(outcome.rejection));
    QCOMPARE(outcome.reply.toHex(), reply.toHex());
    QVERIFY(!outcome.request.isEmpty());
}

void DeviceTest::rejectsMalformedFrames_data() {
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QString>("reason");
    QTest::newRow("bad start byte") << hex("4102F123") << QStringLiteral("start byte 0x41");
    QTest::newRow("bad end byte") << hex("4002F124") << QStringLiteral("end byte 0x24");
    QTest::newRow("bytes not matching the length byte")
        << hex("4002F1") << QStringLiteral("do not make a frame");
    QTest::newRow("length zero") << hex("4000") << QStringLiteral("length byte 0x00");
    QTest::newRow("length one") << hex("400123") << QStringLiteral("length byte 0x01");
    QTest::newRow("connect too long") << hex("4003F10023") << QStringLiteral("length byte 0x03");
    QTest::newRow("port sync too long") << hex("4003FB0023") << QStringLiteral("length byte 0x03");
    QTest::newRow("network read too long") << hex("4003CA0023") << QStringLiteral("length byte 0x03");
    QTest::newRow("port set one byte short")
        << frame(0xCD, kFactoryPorts.left(25)) << QStringLiteral("length byte 0x1B");
    QTest::newRow("port set one byte long")
        << frame(0xCD, kFactoryPorts + hex("00")) << QStringLiteral("length byte 0x1D");
    QTest::newRow("port set with a bad end byte")
        << (portSet(QByteArray(26, '\x01')).chopped(1) + hex("24")) << QStringLiteral("end byte 0x24");
    QTest::newRow("network write one byte short")
        << frame(0xCE, QByteArray(17, '\x01')) << QStringLiteral("length byte 0x13");
    QTest::newRow("network write with a bad end byte")
        << (networkWrite(QByteArray(18, '\x01')).chopped(1) + hex("00")) << QStringLiteral("end byte 0x00");
    QTest::newRow("restore without its key") << hex("4002ED23") << QStringLiteral("length byte 0x02");
    QTest::newRow("restore with another key") << hex("4003EDEF23") << QStringLiteral("restore key 0xEF");
    QTest::newRow("unknown command") << hex("4002AA23") << QStringLiteral("unknown command 0xAA");
    QTest::newRow("a reply code") << hex("4002E123") << QStringLiteral("unknown command 0xE1");
    QTest::newRow("forward without port") << hex("4002DD23") << QStringLiteral("without a port byte");
    QTest::newRow("forward to port 0") << hex("4004DD0001 23") << QStringLiteral("forward port 0");
    QTest::newRow("forward to port 9") << hex("4004DD0901 23") << QStringLiteral("forward port 9");
    QTest::newRow("forward to port 255") << hex("4004DDFF0123") << QStringLiteral("forward port 255");
}

void DeviceTest::rejectsMalformedFrames() {
    QFETCH(QByteArray, request);
    QFETCH(QString, reason);
    Device device;
    const Outcome outcome = device.handle(request);
    QVERIFY(!outcome.accepted());
    QVERIFY2(outcome.rejection.contains(reason), qPrintable(outcome.rejection));
    QVERIFY(outcome.reply.isEmpty());
    QCOMPARE(outcome.forwardPort, 0);
    // A rejected frame changes nothing.
    QCOMPARE(device.handle(kPortSync).reply.toHex(), frame(0xFB, kFactoryPorts).toHex());
    QCOMPARE(device.handle(kNetworkRead).reply.toHex(), frame(0xCA, kFactoryNetwork).toHex());
}

void DeviceTest::syncReturnsWhatWasSet_data() {
    QTest::addColumn<QByteArray>("payload");
    QTest::newRow("every port 115200 8N1 RS232, main 115200, output forbidden")
        << hex("600302600302600302600302600302600302600302600302"
               "6000");
    QTest::newRow("one of each setting") << hex("010002"
                                                "020403"
                                                "040E01"
                                                "0C1B02"
                                                "102B03"
                                                "203F01"
                                                "300302"
                                                "400103"
                                                "6000");
    QTest::newRow("codes no list shows, kept as they came") << hex("05C007"
                                                                   "00FF00"
                                                                   "FFFFFF"
                                                                   "000000"
                                                                   "111111"
                                                                   "222222"
                                                                   "333333"
                                                                   "444444"
                                                                   "0507");
    QTest::newRow("start and end bytes inside the payload")
        << hex("402340234023402340234023402340234023402340234023"
               "4023");
}

void DeviceTest::syncReturnsWhatWasSet() {
    QFETCH(QByteArray, payload);
    QCOMPARE(payload.size(), 26);
    Device device;
    QVERIFY(device.handle(portSet(payload)).accepted());
    QCOMPARE(device.handle(kPortSync).reply.toHex(), frame(0xFB, payload).toHex());
    QCOMPARE(device.ports().mainBaudCode, quint8(payload.at(24)));
    QCOMPARE(device.ports().outputSwitch, quint8(payload.at(25)));
    // Setting the ports leaves the network module alone.
    QCOMPARE(device.handle(kNetworkRead).reply.toHex(), frame(0xCA, kFactoryNetwork).toHex());
}

void DeviceTest::networkReadReturnsWhatWasWritten_data() {
    QTest::addColumn<QByteArray>("octets");
    QTest::newRow("another gateway") << hex("0008DC010203"
                                            "C0A80164"
                                            "FFFFFF00"
                                            "C0A801FE");
    QTest::newRow("all zero") << QByteArray(18, '\0');
    QTest::newRow("all 255") << QByteArray(18, '\xFF');
    QTest::newRow("start and end bytes among the octets") << hex("402340234023"
                                                                 "40234023"
                                                                 "23404023"
                                                                 "0A400A23");
}

void DeviceTest::networkReadReturnsWhatWasWritten() {
    QFETCH(QByteArray, octets);
    Device device;
    QCOMPARE(device.handle(networkWrite(octets)).reply.toHex(), hex("4002E523").toHex());
    QCOMPARE(device.handle(kNetworkRead).reply.toHex(), frame(0xCA, octets).toHex());
    QCOMPARE(device.handle(kPortSync).reply.toHex(), frame(0xFB, kFactoryPorts).toHex());
}

void DeviceTest::restoreBringsBackTheFactoryState() {
    Device device;
    QVERIFY(device.handle(portSet(QByteArray(26, '\x10'))).accepted());
    QVERIFY(device.handle(networkWrite(QByteArray(18, '\x07'))).accepted());
    QCOMPARE(device.handle(kRestore).reply.toHex(), hex("4002E423").toHex());
    QCOMPARE(device.handle(kPortSync).reply.toHex(), frame(0xFB, kFactoryPorts).toHex());
    QCOMPARE(device.handle(kNetworkRead).reply.toHex(), frame(0xCA, kFactoryNetwork).toHex());
}

void DeviceTest::forwardsDataToItsPort_data() {
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("port");
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("port 5") << hex("4006DD0501020323") << 5 << hex("010203");
    QTest::newRow("port 1") << hex("4004DD01AA23") << 1 << hex("AA");
    QTest::newRow("port 8") << hex("4004DD08A123") << 8 << hex("A1");
    QTest::newRow("no data") << hex("4003DD0123") << 1 << QByteArray();
    QTest::newRow("start and end bytes in the data") << hex("4007DD0340232340 23") << 3 << hex("40232340");
    QByteArray longest = hex("40FFDD04") + QByteArray(252, '\x5A') + hex("23");
    QTest::newRow("252 bytes") << longest << 4 << QByteArray(252, '\x5A');
}

void DeviceTest::forwardsDataToItsPort() {
    QFETCH(QByteArray, request);
    QFETCH(int, port);
    QFETCH(QByteArray, data);
    Device device;
    const Outcome outcome = device.handle(request);
    QVERIFY2(outcome.accepted(), qPrintable(outcome.rejection));
    QCOMPARE(outcome.forwardPort, port);
    QCOMPARE(outcome.forwardData.toHex(), data.toHex());
    QVERIFY(outcome.reply.isEmpty());
}

QTEST_GUILESS_MAIN(DeviceTest)
#include "tst_sim_device.moc"
