// The device client on the fake serial control: the bytes of each request, when a reply counts,
// what each kind of bad answer gives, time-outs and retries, the queue, and a port that goes away.
#include "device/DeviceClient.h"
#include "platform/fake/FakeSerialControl.h"
#include "protocol/HexText.h"
#include "protocol/ReplyDecoder.h"

#include <QSignalSpy>
#include <QTest>

using namespace device;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(device::Request)
Q_DECLARE_METATYPE(device::Timing)

namespace {

QByteArray hex(const QString& digits) {
    return QByteArray::fromHex(digits.toLatin1());
}

// What a request came to: "reply" and the reply's frame, or the fault's message.
QString shown(const DeviceClient::Outcome& outcome) {
    if (outcome.ok())
        return u"reply "_s + protocol::toHexText(protocol::encodeReply(outcome.value()));
    return outcome.fault().message();
}

const QString kPorts = u"401CFB"_s + u"080302"_s.repeated(8) + u"080123"_s;
constexpr Timing kPatient{60000, 60000, 0}; // a test that waited for either would time out

// A client on a fake port that answers each write with the next entry of `answers` (hex reads,
// separated by spaces; empty: no answer), and a trace of everything the client reported.
struct Bench {
    platform::FakeSerialControl serial;
    DeviceClient client{serial};
    QStringList answers;
    QStringList trace;
    QStringList outcomes;

    explicit Bench(const Timing& timing) {
        client.setTiming(timing);
        client.open(u"ttyFAKE"_s, {});
        serial.onWrite = [this](const QByteArray&) {
            deliver(answers.isEmpty() ? QStringList() : answers.takeFirst().split(u' '), 0);
        };
        QObject::connect(
            &client, &DeviceClient::traffic, &client,
            [this](DeviceClient::Traffic kind, const QByteArray& b) {
                trace.append(
                    QString::fromLatin1(QMetaEnum::fromType<DeviceClient::Traffic>().valueToKey(int(kind))) +
                    u' ' + protocol::toHexText(b));
            });
    }
    // Feeds the reads from the event loop; "~" holds the rest back 20 ms, past a quick time-out.
    void deliver(QStringList reads, int delayMs) {
        QTimer::singleShot(delayMs, &serial, [this, reads]() mutable {
            while (!reads.isEmpty()) {
                const QString read = reads.takeFirst();
                if (read == u"~")
                    return deliver(reads, 20);
                if (!read.isEmpty())
                    serial.feed(hex(read));
            }
        });
    }
    void send(const Request& request) {
        client.send(request, &client,
                    [this](const DeviceClient::Outcome& outcome) { outcomes.append(shown(outcome)); });
    }
};

} // namespace

class TestDeviceClient : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void requests_data();
    void requests();
    void timingFollowsTheBaud();
    void exchange_data();
    void exchange();
    void queuesInOrderOneAtATime();
    void portLostFailsEveryRequest();
};

void TestDeviceClient::requests_data() {
    QTest::addColumn<Request>("request");
    QTest::addColumn<QString>("bytes");
    QTest::addColumn<int>("replyCode"); // -1: none expected
    QTest::addColumn<int>("replySize");

    QTest::newRow("connect") << Request::connect() << u"4002F123"_s << 0xE1 << 4;
    QTest::newRow("read ports") << Request::readPorts() << u"4002FB23"_s << 0xFB << 30;
    QTest::newRow("restore") << Request::restore() << u"4003EDEE23"_s << 0xE4 << 4;
    QTest::newRow("read network") << Request::readNetwork() << u"4002CA23"_s << 0xCA << 22;
    protocol::PortConfiguration codes;
    codes.ports.fill({0x60, 0x1E, 0x01});
    codes.ports[7] = {0x01, 0x00, 0x03};
    codes.mainBaudCode = 0x08;
    codes.outputSwitch = 0x00;
    QTest::newRow("write ports") << Request::writePorts(codes)
                                 << u"401CCD"_s + u"601E01"_s.repeated(7) + u"010003080023"_s << 0xE2 << 4;
    QTest::newRow("write network") << Request::writeNetwork({{0, 8, 220, 1, 2, 3, 192, 168, 1, 100, 255, 255,
                                                              255, 0, 192, 168, 1, 1}})
                                   << u"4014CE0008DC010203C0A80164FFFFFF00C0A8010123"_s << 0xE5 << 4;
    QTest::newRow("forward") << Request::forward(8, hex(u"0040230D"_s)).value() << u"4007DD080040230D23"_s
                             << -1 << 0;
}

void TestDeviceClient::requests() {
    QFETCH(Request, request);
    QFETCH(QString, bytes);
    QFETCH(int, replyCode);
    QFETCH(int, replySize);
    QCOMPARE(protocol::toHexText(request.bytes), bytes);
    QCOMPARE(request.expects.has_value(), replyCode >= 0);
    if (request.expects)
        QCOMPARE(*request.expects, (Expectation{quint8(replyCode), replySize}));

    QCOMPARE(Request::forward(0, hex(u"01"_s)).fault(), ForwardFault::BadPort);
    QCOMPARE(Request::forward(9, hex(u"01"_s)).fault(), ForwardFault::BadPort);
    QCOMPARE(Request::forward(1, QByteArray(253, '\1')).fault(), ForwardFault::TooLong);
    QCOMPARE(Request::forward(1, QByteArray()).fault(), ForwardFault::NoData);
}

void TestDeviceClient::timingFollowsTheBaud() {
    QCOMPARE(Timing::forBaud(115200), (Timing{156, 51, 2}));
    QCOMPARE(Timing::forBaud(9600), (Timing{222, 53, 2}));
    QCOMPARE(Timing::forBaud(1200), (Timing{718, 67, 2}));
    platform::FakeSerialControl serial;
    DeviceClient client(serial);
    QVERIFY(client.open(u"ttyFAKE"_s, {1200}).ok());
    QCOMPARE(client.timing(), Timing::forBaud(1200));
}

void TestDeviceClient::exchange_data() {
    QTest::addColumn<Request>("request");
    QTest::addColumn<Timing>("timing");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QStringList>("trace");

    const Timing gap{60000, 5, 0};
    QTest::newRow("complete at its last byte, split")
        << Request::readPorts() << kPatient
        << QStringList{kPorts.left(6) + u' ' + kPorts.mid(6, 40) + u' ' + kPorts.mid(46)}
        << u"reply "_s + kPorts << QStringList{u"Sent 4002FB23"_s, u"Received "_s + kPorts};
    QTest::newRow("a second frame in the same read is not the answer")
        << Request::connect() << kPatient << QStringList{u"4002E1234002E223"_s} << u"reply 4002E123"_s
        << QStringList{u"Sent 4002F123"_s, u"Received 4002E123"_s, u"Stray 4002E223"_s};
    QTest::newRow("a reply under way is not timed out")
        << Request::connect() << Timing{5, 60000, 0} << QStringList{u"4002 ~ E123"_s} << u"reply 4002E123"_s
        << QStringList{u"Sent 4002F123"_s, u"Received 4002E123"_s};
    QTest::newRow("stops short") << Request::readPorts() << gap << QStringList{u"401CFB08"_s}
                                 << u"malformed reply 401CFB08: incomplete, 4 of 30 bytes"_s
                                 << QStringList{u"Sent 4002FB23"_s, u"Malformed 401CFB08"_s};
    QTest::newRow("wrong size") << Request::readPorts() << kPatient << QStringList{u"4003FB0023"_s}
                                << u"malformed reply 4003FB0023: FB frame of 5 bytes, expected 30"_s
                                << QStringList{u"Sent 4002FB23"_s, u"Received 4003FB0023"_s};
    QTest::newRow("unexpected code") << Request::connect() << kPatient << QStringList{u"4002E223"_s}
                                     << u"unexpected reply 4002E223 (port set done), expected E1"_s
                                     << QStringList{u"Sent 4002F123"_s, u"Received 4002E223"_s};
    QTest::newRow("no answer, then an answer") << Request::connect() << Timing{5, 5, 2}
                                               << QStringList{QString(), u"4002E123"_s} << u"reply 4002E123"_s
                                               << QStringList{u"Sent 4002F123"_s, u"NoAnswer 4002F123"_s,
                                                              u"Sent 4002F123"_s, u"Received 4002E123"_s};
    QTest::newRow("a bad answer, then a good one")
        << Request::restore() << Timing{60000, 5, 1} << QStringList{u"4002E424"_s, u"4002E423"_s}
        << u"reply 4002E423"_s
        << QStringList{u"Sent 4003EDEE23"_s, u"Malformed 4002E424"_s, u"Sent 4003EDEE23"_s,
                       u"Received 4002E423"_s};
    QTest::newRow("retries exhausted")
        << Request::connect() << Timing{5, 5, 1} << QStringList() << u"no answer after 2 attempts"_s
        << QStringList{u"Sent 4002F123"_s, u"NoAnswer 4002F123"_s, u"Sent 4002F123"_s,
                       u"NoAnswer 4002F123"_s};
    QTest::newRow("forward completes once written")
        << Request::forward(3, hex(u"AABB"_s)).value() << kPatient << QStringList() << u"reply "_s
        << QStringList{u"Sent 4005DD03AABB23"_s};
}

void TestDeviceClient::exchange() {
    QFETCH(Request, request);
    QFETCH(Timing, timing);
    QFETCH(QStringList, answers);
    QFETCH(QString, outcome);
    QFETCH(QStringList, trace);
    Bench bench(timing);
    bench.answers = answers;
    bench.send(request);
    QVERIFY(bench.outcomes.isEmpty()); // never from inside send()
    QTRY_COMPARE(bench.outcomes, QStringList{outcome});
    QCOMPARE(bench.trace, trace);
    QCOMPARE(bench.client.pendingCount(), 0);
}

void TestDeviceClient::queuesInOrderOneAtATime() {
    Bench bench(kPatient);
    bench.answers = {u"4002E123"_s, kPorts, u"4002E423"_s};
    bench.serial.feed(hex(u"4002E123"_s)); // nobody asked: reported and dropped
    bench.send(Request::connect());
    bench.send(Request::readPorts());
    bench.send(Request::restore());
    QCOMPARE(bench.serial.writes.size(), 1);
    QCOMPARE(bench.client.pendingCount(), 3);
    QTRY_COMPARE(bench.outcomes.size(), 3);
    QCOMPARE(bench.outcomes, (QStringList{u"reply 4002E123"_s, u"reply "_s + kPorts, u"reply 4002E423"_s}));
    QCOMPARE(bench.trace,
             (QStringList{u"Stray 4002E123"_s, u"Sent 4002F123"_s, u"Received 4002E123"_s, u"Sent 4002FB23"_s,
                          u"Received "_s + kPorts, u"Sent 4003EDEE23"_s, u"Received 4002E423"_s}));
}

void TestDeviceClient::portLostFailsEveryRequest() {
    Bench bench(kPatient);
    QSignalSpy lost(&bench.client, &DeviceClient::portLost);
    bench.send(Request::readPorts());
    bench.send(Request::connect());
    // The reply is there, but the port fails before it is announced: it still answers.
    bench.serial.blockSignals(true);
    bench.serial.feed(hex(kPorts));
    bench.serial.blockSignals(false);
    bench.serial.fail(platform::SerialError::Resource);
    bench.serial.fail(platform::SerialError::Resource); // a vanished device repeats it
    QCOMPARE(lost.size(), 1);
    QVERIFY(!bench.serial.isOpen());
    QCOMPARE(bench.outcomes, QStringList{u"reply "_s + kPorts});
    QTRY_COMPARE(bench.outcomes.size(), 2);
    QCOMPARE(bench.outcomes.last(), u"the port was lost (device unplugged?)"_s);

    bench.send(Request::connect());
    QTRY_COMPARE(bench.outcomes.size(), 3);
    QCOMPARE(bench.outcomes.last(), u"the port is not open"_s);

    // Closing fails what is still waiting, the same way.
    QVERIFY(bench.client.open(u"ttyFAKE"_s, {}).ok());
    bench.send(Request::connect());
    bench.client.close();
    QTRY_COMPARE(bench.outcomes.size(), 4);
    QCOMPARE(bench.outcomes.last(), u"the port is not open"_s);
}

QTEST_GUILESS_MAIN(TestDeviceClient)
#include "tst_deviceclient.moc"
