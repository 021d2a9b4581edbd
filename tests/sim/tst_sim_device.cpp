// SPDX-License-Identifier: MIT
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
    // The answer to the last of the requests (the others accepted before it), what goes out of an
    // extension port, and what the device holds afterwards: a rejected frame changes nothing.
    void answersEachFrame_data() {
        QTest::addColumn<DeviceSetup>("setup");
        QTest::addColumn<QList<QByteArray>>("requests");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("forwarded");  // "port:hex data" going out of an extension port
        QTest::addColumn<QString>("rejection");  // part of why nothing was done; empty when accepted
        QTest::addColumn<QByteArray>("ports");   // the port sync reply's payload
        QTest::addColumn<QByteArray>("network"); // the network read reply's payload

        const auto row = [](const char* name, const QByteArray& request, const char* reply,
                            const QString& forwarded, const char* rejection = "") {
            QTest::newRow(name) << DeviceSetup() << QList<QByteArray>{request} << hex(reply) << forwarded
                                << QString::fromLatin1(rejection) << kFactoryPorts << kFactoryNetwork;
        };
        const auto holds = [](const char* name, const DeviceSetup& setup, const QList<QByteArray>& requests,
                              const char* reply, const QByteArray& ports, const QByteArray& network) {
            QTest::newRow(name) << setup << requests << hex(reply) << QString() << QString() << ports
                                << network;
        };
        row("restore", kRestore, "4002E423", {});
        row("forward to port 1", hex("4006DD0101020323"), "", u"1:010203"_s);
        row("forward of 252 bytes, start and end bytes among them",
            hex("40FFDD04") + hex("4023").repeated(126) + hex("23"), "", u"4:"_s + u"4023"_s.repeated(126));
        row("bad start byte", hex("4102F123"), "", {}, "start byte 0x41");
        row("bad end byte", hex("4002F124"), "", {}, "end byte 0x24");
        row("length zero", hex("4000"), "", {}, "length byte 0x00");
        row("port set one byte short", frame(0xCD, kFactoryPorts.left(25)), "", {}, "length byte 0x1B");
        row("restore with another key", hex("4003EDEF23"), "", {}, "restore key 0xEF");
        row("unknown command", hex("4002AA23"), "", {}, "unknown command 0xAA");
        row("forward without port", hex("4002DD23"), "", {}, "without a port byte");
        row("forward to port 0", hex("4004DD000123"), "", {}, "forward port 0");
        row("forward to port 9", hex("4004DD090123"), "", {}, "forward port 9");

        const QByteArray mixed = hex("010002 020403 040E01 0C1B02 102B03 203F01 300302 400103 6000");
        const QByteArray framing = hex("4023").repeated(13);
        const QByteArray octets = hex("402340234023 40234023 23404023 0A400A23");
        const QByteArray third = hex("0008DC010205 C0A80166 FFFFFF00 C0A80101");
        holds("start and end bytes in the port records", {}, {frame(0xCD, framing), frame(0xCE, octets)},
              "4002E523", framing, octets);
        holds("restore: factory ports, main 9600, the device's own network",
              {.index = 2, .mainBaudCode = 0x60}, {frame(0xCD, mixed), frame(0xCE, octets), kRestore},
              "4002E423", kFactoryPorts, third);
        holds("a stuck port keeps its record", {.stuckPort = 1}, {frame(0xCD, mixed)}, "4002E223",
              hex("080302") + mixed.mid(3), kFactoryNetwork);
    }

    void answersEachFrame() {
        QFETCH(DeviceSetup, setup);
        QFETCH(QList<QByteArray>, requests);
        QFETCH(QByteArray, reply);
        QFETCH(QString, forwarded);
        QFETCH(QString, rejection);
        QFETCH(QByteArray, ports);
        QFETCH(QByteArray, network);
        Device device(setup);
        for (const QByteArray& request : requests.first(requests.size() - 1))
            QVERIFY(device.handle(request).accepted());
        const Outcome outcome = device.handle(requests.last());
        QCOMPARE(outcome.reply.toHex(), reply.toHex());
        QCOMPARE(outcome.forwardPort > 0
                     ? u"%1:"_s.arg(outcome.forwardPort) + QString::fromLatin1(outcome.forwardData.toHex())
                     : QString(),
                 forwarded);
        QCOMPARE(outcome.request.isEmpty(), !rejection.isEmpty());
        QVERIFY2(rejection.isEmpty() ? outcome.accepted() : outcome.rejection.contains(rejection),
                 qPrintable(outcome.rejection));
        QCOMPARE(device.handle(kPortSync).reply.toHex(), frame(0xFB, ports).toHex());
        QCOMPARE(device.handle(kNetworkRead).reply.toHex(), frame(0xCA, network).toHex());
    }
};

QTEST_GUILESS_MAIN(DeviceTest)
#include "tst_sim_device.moc"
