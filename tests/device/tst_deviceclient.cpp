// SPDX-License-Identifier: MIT
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

const QString kPorts = u"401CFB"_s + u"080302"_s.repeated(8) + u"080123"_s;
constexpr Timing kPatient{60000, 60000, 0}; // a test that waited for either would time out

// A client on a fake port that answers each write with the next entry of `answers` (hex reads,
// separated by spaces; empty: no answer), and what the client reported: its traffic ("Sent 4002F123")
// and what each request came to ("reply" and the reply's frame, or the fault's message).
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
            [this](DeviceClient::Traffic kind, const QByteArray& bytes) {
                trace.append(
                    QString::fromLatin1(QMetaEnum::fromType<DeviceClient::Traffic>().valueToKey(int(kind))) +
                    u' ' + protocol::toHexText(bytes));
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
        client.send(request, &client, [this](const DeviceClient::Outcome& outcome) {
            outcomes.append(outcome.ok()
                                ? u"reply "_s + protocol::toHexText(protocol::encodeReply(outcome.value()))
                                : outcome.fault().message());
        });
    }
};

} // namespace

class TestDeviceClient : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void timingFollowsTheBaud() {
        QCOMPARE(Timing::forBaud(115200), (Timing{156, 51, 2}));
        QCOMPARE(Timing::forBaud(1200), (Timing{718, 67, 2}));
        platform::FakeSerialControl serial;
        DeviceClient client(serial);
        QVERIFY(client.open(u"ttyFAKE"_s, {1200}).ok());
        QCOMPARE(client.timing(), Timing::forBaud(1200));
    }

    void exchange_data() {
        QTest::addColumn<Request>("request");
        QTest::addColumn<Timing>("timing");
        QTest::addColumn<QStringList>("answers"); // one entry per attempt
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QStringList>("trace");
        const auto row = [](const char* name, const Request& request, const Timing& timing,
                            const QString& answers, const QString& outcome, const QString& trace) {
            QTest::newRow(name) << request << timing << answers.split(u'|') << outcome
                                << trace.split(u", "_s);
        };
        const Timing gap{60000, 5, 0};
        row("complete at its last byte, split", Request::readPorts(), kPatient,
            kPorts.left(6) + u' ' + kPorts.mid(6, 40) + u' ' + kPorts.mid(46), u"reply "_s + kPorts,
            u"Sent 4002FB23, Received "_s + kPorts);
        row("a second frame in the same read is not the answer", Request::connect(), kPatient,
            u"4002E1234002E223"_s, u"reply 4002E123"_s,
            u"Sent 4002F123, Received 4002E123, Stray 4002E223"_s);
        row("a reply under way is not timed out", Request::connect(), Timing{5, 60000, 0}, u"4002 ~ E123"_s,
            u"reply 4002E123"_s, u"Sent 4002F123, Received 4002E123"_s);
        row("stops short", Request::readPorts(), gap, u"401CFB08"_s,
            u"malformed reply 401CFB08: incomplete, 4 of 30 bytes"_s, u"Sent 4002FB23, Malformed 401CFB08"_s);
        row("wrong size", Request::readPorts(), kPatient, u"4003FB0023"_s,
            u"malformed reply 4003FB0023: FB frame of 5 bytes, expected 30"_s,
            u"Sent 4002FB23, Received 4003FB0023"_s);
        row("unexpected code", Request::connect(), kPatient, u"4002E223"_s,
            u"unexpected reply 4002E223 (port set done), expected E1"_s,
            u"Sent 4002F123, Received 4002E223"_s);
        row("no answer, then an answer", Request::connect(), Timing{5, 5, 2}, u"|4002E123"_s,
            u"reply 4002E123"_s, u"Sent 4002F123, NoAnswer 4002F123, Sent 4002F123, Received 4002E123"_s);
        row("a bad answer, then a good one", Request::restore(), Timing{60000, 5, 1}, u"4002E424|4002E423"_s,
            u"reply 4002E423"_s,
            u"Sent 4003EDEE23, Malformed 4002E424, Sent 4003EDEE23, Received 4002E423"_s);
        row("no retries: one attempt", Request::connect(), Timing{5, 5, 0}, u""_s, u"no answer"_s,
            u"Sent 4002F123, NoAnswer 4002F123"_s);
        row("retries exhausted", Request::connect(), Timing{5, 5, 1}, u""_s, u"no answer after 2 attempts"_s,
            u"Sent 4002F123, NoAnswer 4002F123, Sent 4002F123, NoAnswer 4002F123"_s);
        row("forward completes once written", Request::forward(8, hex(u"0040230D"_s)).value(), kPatient,
            u""_s, u"reply "_s, u"Sent 4007DD080040230D23"_s);
    }

    void exchange() {
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

    // Each request's bytes, and the reply that answers it.
    void queuesInOrderOneAtATime() {
        Bench bench(kPatient);
        protocol::PortConfiguration codes;
        codes.ports.fill({0x60, 0x1E, 0x01});
        codes.ports[7] = {0x01, 0x00, 0x03};
        codes.mainBaudCode = 0x08;
        const QString writePorts = u"401CCD"_s + u"601E01"_s.repeated(7) + u"010003080023"_s;
        const QString network = u"4014CA0008DC010203C0A80164FFFFFF00C0A8010123"_s;
        bench.answers = {u"4002E123"_s, kPorts, network, u"4002E223"_s, u"4002E523"_s, u"4002E423"_s};
        bench.serial.feed(hex(u"4002E123"_s)); // nobody asked: reported and dropped
        for (const Request& request :
             {Request::connect(), Request::readPorts(), Request::readNetwork(), Request::writePorts(codes),
              Request::writeNetwork(
                  std::get<protocol::NetworkParameters>(protocol::decodeReply(hex(network)))),
              Request::restore()})
            bench.send(request);
        QCOMPARE(bench.serial.writes.size(), 1);
        QCOMPARE(bench.client.pendingCount(), 6);
        QTRY_COMPARE(bench.outcomes.size(), 6);
        QCOMPARE(bench.outcomes,
                 (QStringList{u"reply 4002E123"_s, u"reply "_s + kPorts, u"reply "_s + network,
                              u"reply 4002E223"_s, u"reply 4002E523"_s, u"reply 4002E423"_s}));
        QCOMPARE(
            bench.trace.join(u", "),
            u"Stray 4002E123, Sent 4002F123, Received 4002E123, Sent 4002FB23, Received %1, Sent 4002CA23, "
            u"Received %2, Sent %3, Received 4002E223, Sent 4014CE%4, Received 4002E523, "
            u"Sent 4003EDEE23, Received 4002E423"_s.arg(kPorts, network, writePorts, network.mid(6)));
    }

    void refusesAForwardItCannotFrame() {
        QCOMPARE(Request::forward(0, hex(u"01"_s)).fault(), protocol::ForwardFault::BadPort);
        QCOMPARE(Request::forward(9, hex(u"01"_s)).fault(), protocol::ForwardFault::BadPort);
        QCOMPARE(Request::forward(1, QByteArray(253, '\1')).fault(), protocol::ForwardFault::TooLong);
        QCOMPARE(Request::forward(1, QByteArray()).fault(), protocol::ForwardFault::Empty);
    }

    void portLostFailsEveryRequest() {
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

        // Closing fails what is still waiting, the same way as a request to a closed port.
        QVERIFY(bench.client.open(u"ttyFAKE"_s, {}).ok());
        bench.send(Request::connect());
        bench.client.close();
        bench.send(Request::connect());
        QTRY_COMPARE(bench.outcomes.size(), 4);
        QCOMPARE(bench.outcomes.at(2), u"the port is not open"_s);
        QCOMPARE(bench.outcomes.last(), u"the port is not open"_s);
    }
};

QTEST_GUILESS_MAIN(TestDeviceClient)
#include "tst_deviceclient.moc"
