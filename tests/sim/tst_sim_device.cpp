#include "sim/Device.h"

#include <QTest>

using namespace Qt::StringLiterals;
using sim::Device;
using sim::DeviceSetup;
using sim::Outcome;

namespace {

QByteArray hex(const char* digits) {
    return QByteArray::fromHex(digits);
}

QByteArray frame(quint8 command, const QByteArray& payload) {
    return hex("40") + char(payload.size() + 2) + char(command) + payload + hex("23");
}

const QByteArray kFactoryPorts = hex("080302").repeated(8) + hex("0801");
const QByteArray kFactoryNetwork = hex("0008DC010203 C0A80164 FFFFFF00 C0A80101");
const QByteArray kPortSync = hex("4002FB23");
const QByteArray kNetworkRead = hex("4002CA23");
const QByteArray kRestore = hex("4003EDEE23");

} // namespace

Q_DECLARE_METATYPE(DeviceSetup)

class DeviceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answersEachFrame_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("forwarded"); // "port:hex data" going out of an extension port
        QTest::addColumn<QString>("rejection"); // part of why nothing was done; empty when accepted

        const QByteArray none;
        const QString accepted;
        QTest::newRow("connect") << hex("4002F123") << hex("4002E123") << QString() << accepted;
        QTest::newRow("port set") << frame(0xCD, kFactoryPorts) << hex("4002E223") << QString() << accepted;
        QTest::newRow("restore") << kRestore << hex("4002E423") << QString() << accepted;
        QTest::newRow("network write")
            << frame(0xCE, QByteArray(18, '\0')) << hex("4002E523") << QString() << accepted;
        QTest::newRow("forward to port 5") << hex("4006DD0501020323") << none << u"5:010203"_s << accepted;
        QTest::newRow("forward to port 1") << hex("4004DD01AA23") << none << u"1:aa"_s << accepted;
        QTest::newRow("forward to port 8") << hex("4004DD08A123") << none << u"8:a1"_s << accepted;
        QTest::newRow("forward without data") << hex("4003DD0123") << none << u"1:"_s << accepted;
        QTest::newRow("forward of 252 bytes, start and end bytes among them")
            << hex("40FFDD04") + hex("4023").repeated(126) + hex("23") << none
            << u"4:"_s + u"4023"_s.repeated(126) << accepted;

        const QString no;
        QTest::newRow("bad start byte") << hex("4102F123") << none << no << u"start byte 0x41"_s;
        QTest::newRow("bad end byte") << hex("4002F124") << none << no << u"end byte 0x24"_s;
        QTest::newRow("bytes not matching the length byte")
            << hex("4002F1") << none << no << u"do not make a frame"_s;
        QTest::newRow("length zero") << hex("4000") << none << no << u"length byte 0x00"_s;
        QTest::newRow("connect too long") << hex("4003F10023") << none << no << u"length byte 0x03"_s;
        QTest::newRow("port set one byte short")
            << frame(0xCD, kFactoryPorts.left(25)) << none << no << u"length byte 0x1B"_s;
        QTest::newRow("restore without its key") << hex("4002ED23") << none << no << u"length byte 0x02"_s;
        QTest::newRow("restore with another key") << hex("4003EDEF23") << none << no << u"restore key 0xEF"_s;
        QTest::newRow("unknown command") << hex("4002AA23") << none << no << u"unknown command 0xAA"_s;
        QTest::newRow("forward without port") << hex("4002DD23") << none << no << u"without a port byte"_s;
        QTest::newRow("forward to port 0") << hex("4004DD000123") << none << no << u"forward port 0"_s;
        QTest::newRow("forward to port 9") << hex("4004DD090123") << none << no << u"forward port 9"_s;
    }

    void answersEachFrame() {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, reply);
        QFETCH(QString, forwarded);
        QFETCH(QString, rejection);
        Device device;
        const Outcome outcome = device.handle(request);
        QCOMPARE(outcome.reply.toHex(), reply.toHex());
        QCOMPARE(outcome.forwardPort > 0
                     ? u"%1:"_s.arg(outcome.forwardPort) + QString::fromLatin1(outcome.forwardData.toHex())
                     : QString(),
                 forwarded);
        QCOMPARE(outcome.request.isEmpty(), !rejection.isEmpty());
        QVERIFY2(rejection.isEmpty() ? outcome.accepted() : outcome.rejection.contains(rejection),
                 qPrintable(outcome.rejection));
        if (rejection.isEmpty())
            return;
        // A rejected frame changes nothing.
        QCOMPARE(device.handle(kPortSync).reply.toHex(), frame(0xFB, kFactoryPorts).toHex());
        QCOMPARE(device.handle(kNetworkRead).reply.toHex(), frame(0xCA, kFactoryNetwork).toHex());
    }

    void readsBackWhatItHolds_data() {
        QTest::addColumn<DeviceSetup>("setup");
        QTest::addColumn<QList<QByteArray>>("requests"); // each confirmed before the reads
        QTest::addColumn<QByteArray>("ports");           // the port sync reply's payload
        QTest::addColumn<QByteArray>("network");         // the network read reply's payload

        const QByteArray mixed = hex("010002 020403 040E01 0C1B02 102B03 203F01 300302 400103 6000");
        const QByteArray framing = hex("4023").repeated(13);
        const QByteArray octets = hex("402340234023 40234023 23404023 0A400A23");
        const QByteArray third = hex("0008DC010205 C0A80166 FFFFFF00 C0A80101");
        using Requests = QList<QByteArray>;
        QTest::newRow("factory") << DeviceSetup{} << Requests{} << kFactoryPorts << kFactoryNetwork;
        QTest::newRow("one of each setting")
            << DeviceSetup{} << Requests{frame(0xCD, mixed)} << mixed << kFactoryNetwork;
        QTest::newRow("start and end bytes in the port records")
            << DeviceSetup{} << Requests{frame(0xCD, framing), frame(0xCE, octets)} << framing << octets;
        QTest::newRow("restore: factory ports, main 9600, the device's own network")
            << DeviceSetup{.index = 2, .mainBaudCode = 0x60}
            << Requests{frame(0xCD, mixed), frame(0xCE, octets), kRestore} << kFactoryPorts << third;
    }

    void readsBackWhatItHolds() {
        QFETCH(DeviceSetup, setup);
        QFETCH(QList<QByteArray>, requests);
        QFETCH(QByteArray, ports);
        QFETCH(QByteArray, network);
        Device device(setup);
        for (const QByteArray& request : requests)
            QVERIFY(device.handle(request).accepted());
        QCOMPARE(device.handle(kPortSync).reply.toHex(), frame(0xFB, ports).toHex());
        QCOMPARE(device.handle(kNetworkRead).reply.toHex(), frame(0xCA, network).toHex());
    }
};

QTEST_GUILESS_MAIN(DeviceTest)
#include "tst_sim_device.moc"
