// SPDX-License-Identifier: MIT
// The scanner on fake ports: every port at once, each port's bauds in turn until one answers, the
// ports it must not or cannot open, and a cancel that lets go of every port.
#include "device/Scanner.h"
#include "platform/fake/FakeSerialControl.h"
#include "protocol/ReplyDecoder.h"

#include <QSignalSpy>
#include <QTest>

#include <map>

using namespace device;
using namespace Qt::StringLiterals;
using Kind = ConnectFault::Kind;

namespace {

constexpr char kNetwork[] = "4014CA0008DC010203C0A80164FFFFFF00C0A8010123";

// A scanner whose ports are fakes: `answerAt` says at which baud a port's device answers (connect,
// then its network parameters); with `garble`, every other baud gets what a UART at the wrong
// speed makes of the answer.
struct Rig {
    std::map<QString, qint32> answerAt;
    bool garble = false;
    QStringList refused;
    std::map<QString, platform::FakeSerialControl*> fakes; // owned by the scanner
    QStringList writes;                                    // "port baud", in the order written
    Scanner scanner{[this](const QString& name) {
        auto fake = std::make_unique<platform::FakeSerialControl>();
        platform::FakeSerialControl* port = fake.get();
        fakes[name] = port;
        if (refused.contains(name))
            port->refuseOpen = platform::SerialFault::Permission;
        port->onWrite = [this, name, port](const QByteArray& request) {
            const qint32 baud = port->openings.last().settings.baud;
            writes.append(u"%1 %2"_s.arg(name).arg(baud));
            const bool answers = answerAt.count(name) && answerAt[name] == baud;
            const QByteArray answer = !answers                  ? QByteArray::fromHex("4002E124")
                                      : request.at(2) == '\xF1' ? QByteArray::fromHex("4002E123")
                                                                : QByteArray::fromHex(kNetwork);
            if (answers || garble)
                QTimer::singleShot(0, port, [port, answer] { port->feed(answer); });
        };
        return fake;
    }};
};

QList<qint32> bauds(const platform::FakeSerialControl* port) {
    QList<qint32> list;
    for (const auto& opening : port->openings)
        list.append(opening.settings.baud);
    return list;
}

} // namespace

class TestScanner : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void scansEveryPortAtOnce() {
        Rig rig;
        rig.answerAt = {{u"B"_s, 19200}}; // and A at none
        rig.garble = true;
        rig.refused = {u"C"_s};
        QSignalSpy found(&rig.scanner, &Scanner::found);
        QSignalSpy cannotOpen(&rig.scanner, &Scanner::cannotOpen);
        QSignalSpy skipped(&rig.scanner, &Scanner::skipped);
        QSignalSpy progress(&rig.scanner, &Scanner::progress);
        QSignalSpy finished(&rig.scanner, &Scanner::finished);
        QSignalSpy traffic(&rig.scanner, &Scanner::traffic);
        rig.scanner.start({{u"A"_s, u"B"_s, u"C"_s, u"D"_s}, {}, {u"D"_s}, {}, {}});
        QVERIFY(finished.isEmpty() && rig.writes.isEmpty());
        QTRY_COMPARE(finished.size(), 1);

        const auto results = finished.first().first().value<QList<ScanResult>>();
        // A port that answers garbled frames at every baud is no silent port.
        const DeviceFault garbled{
            DeviceFault::Kind::Malformed, QByteArray::fromHex("4002E124"), {0xE1, 4}, 1};
        const auto network =
            std::get<protocol::NetworkParameters>(protocol::decodeReply(QByteArray::fromHex(kNetwork)));
        QCOMPARE(results, (QList<ScanResult>{
                              {u"A"_s, ConnectFault{Kind::Malformed, {}, garbled}},
                              {u"B"_s, FoundDevice{19200, network}},
                              {u"C"_s, ConnectFault{Kind::CannotOpen, platform::SerialFault::Permission, {}}},
                              {u"D"_s, ConnectFault{Kind::InUse, {}, {}}}}));
        // Every baud of the list on the silent port, most likely first; the answering port stops there.
        QCOMPARE(bauds(rig.fakes[u"A"_s]), Scanner::defaultBauds());
        QCOMPARE(Scanner::defaultBauds().mid(0, 2), (QList<qint32>{9600, 115200}));
        QCOMPARE(bauds(rig.fakes[u"B"_s]), (QList<qint32>{9600, 115200, 19200}));
        QCOMPARE(rig.fakes[u"C"_s]->openAttempts, 1);
        QCOMPARE(rig.fakes.count(u"D"_s), 0u); // in use: never touched
        // Side by side: both first attempts go out before either port's second.
        QCOMPARE(rig.writes.mid(0, 2), (QStringList{u"A 9600"_s, u"B 9600"_s}));
        QCOMPARE(rig.writes.size(), 14); // and B's network read
        QVERIFY(!rig.fakes[u"A"_s]->isOpen() && !rig.fakes[u"B"_s]->isOpen());

        QCOMPARE(QList<QVariantList>(found), (QList<QVariantList>{{u"B"_s, 19200}}));
        QCOMPARE(QList<QVariantList>(cannotOpen),
                 (QList<QVariantList>{{u"C"_s, QVariant::fromValue(platform::SerialFault::Permission)}}));
        QCOMPARE(QList<QVariantList>(skipped), (QList<QVariantList>{{u"D"_s}}));
        QCOMPARE(traffic.first(), (QVariantList{u"A"_s, QVariant::fromValue(DeviceClient::Traffic::Sent),
                                                QByteArray::fromHex("4002F123")}));
        QCOMPARE(progress.first(), (QVariantList{0, 30}));
        QCOMPARE(progress.last(), (QVariantList{13, 13}));
    }

    // One baud is no search: the connect request is tried again, as any request is.
    void oneBaudIsTriedWithRetries() {
        Rig rig;
        rig.garble = true;
        QSignalSpy finished(&rig.scanner, &Scanner::finished);
        rig.scanner.start({{u"A"_s}, {9600}, {}, {}, {}});
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(rig.writes.size(), 3);
    }

    void cancelReleasesEveryPort() {
        Rig rig;
        QSignalSpy finished(&rig.scanner, &Scanner::finished);
        rig.scanner.start({{u"A"_s, u"B"_s}, {9600, 19200}, {}, {}, {60000, 60000, 0}});
        QTRY_COMPARE(rig.writes.size(), 2);
        QVERIFY(rig.fakes[u"A"_s]->isOpen() && rig.fakes[u"B"_s]->isOpen());
        rig.scanner.cancel();
        QVERIFY(!rig.fakes[u"A"_s]->isOpen() && !rig.fakes[u"B"_s]->isOpen());
        QVERIFY(!rig.scanner.isRunning());
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().first().value<QList<ScanResult>>(),
                 (QList<ScanResult>{{u"A"_s}, {u"B"_s}})); // cancelled
    }
};

QTEST_GUILESS_MAIN(TestScanner)
#include "tst_scanner.moc"
