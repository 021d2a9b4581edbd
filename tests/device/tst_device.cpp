// SPDX-License-Identifier: MIT
// The device layer on the fake serial control: the client (cutting what arrives into frames however
// it was split, the bytes of each request, when a reply counts, what each kind of bad answer gives,
// time-outs and retries, the queue, a port that goes away) and the scanner (every port at once,
// each port's bauds in turn until one answers, the ports it must not or cannot open, a cancel).
#include "device/DeviceClient.h"
#include "device/FrameReader.h"
#include "device/Scanner.h"
#include "platform/fake/FakeSerialControl.h"
#include "protocol/HexText.h"
#include "protocol/ReplyDecoder.h"

#include <QSignalSpy>
#include <QTest>

#include <map>

using namespace device;
using namespace Qt::StringLiterals;
using Kind = ConnectFault::Kind;

Q_DECLARE_METATYPE(device::Request)
Q_DECLARE_METATYPE(device::Timing)

namespace {

// "F:4002E123", "M:4001" or "S:0102" for each chunk, separated by spaces.
QString shown(const std::vector<FrameReader::Chunk>& chunks) {
    QStringList list;
    for (const FrameReader::Chunk& chunk : chunks)
        list.append(QStringList{u"F:"_s, u"M:"_s, u"S:"_s}.at(int(chunk.kind)) +
                    QString::fromLatin1(chunk.bytes.toHex().toUpper()));
    return list.join(u' ');
}

QByteArray hex(const QString& digits) {
    return QByteArray::fromHex(digits.toLatin1());
}

const QString kPorts = u"401CFB"_s + u"080302"_s.repeated(8) + u"080123"_s;
constexpr Timing kPatient{60000, 60000, 2}; // the rows let time pass themselves

// A client on a fake port that answers each write with the next entry of `answers`, and what the
// client reported: its traffic ("Sent 4002F123", a repeat shown once) and what each request came
// to ("reply" and the reply's frame, "sent", or the fault's message). An entry is read by read:
// hex bytes; "!" before them: they arrive unannounced (no readyRead); "*" after a byte: it comes
// again every 10 ms until the request is done; "~": the attempt's deadline passes; "_": the gap does.
struct Bench {
    platform::FakeSerialControl serial;
    DeviceClient client{serial};
    QStringList answers;
    QStringList trace;
    QStringList outcomes;
    QTimer trickle;

    explicit Bench(const Timing& timing) {
        client.setTiming(timing);
        client.open(u"ttyFAKE"_s, {});
        serial.onWrite = [this](const QByteArray&) {
            const QString reads = answers.isEmpty() ? QString() : answers.takeFirst();
            QTimer::singleShot(0, &serial, [this, reads] { play(reads.split(u' ', Qt::SkipEmptyParts)); });
        };
        QObject::connect(&client, &DeviceClient::traffic, &client,
                         [this](DeviceClient::Traffic kind, const QByteArray& bytes) {
                             const auto name =
                                 QMetaEnum::fromType<DeviceClient::Traffic>().valueToKey(int(kind));
                             const QString entry =
                                 QString::fromLatin1(name) + u' ' + protocol::toHexText(bytes);
                             if (trace.isEmpty() || trace.last() != entry)
                                 trace.append(entry);
                         });
    }
    void play(const QStringList& reads) {
        for (const QString& read : reads) {
            if (read == u"~" || read == u"_") {
                QMetaObject::invokeMethod(&client, read == u"~" ? "onAnswerTimeout" : "onGapTimeout");
            } else if (read.endsWith(u'*')) {
                const QByteArray byte = hex(read.chopped(1));
                QObject::connect(&trickle, &QTimer::timeout, &serial, [this, byte] { serial.feed(byte); });
                trickle.start(10);
                serial.feed(byte);
            } else if (read.startsWith(u'!')) {
                serial.blockSignals(true);
                serial.feed(hex(read.mid(1)));
                serial.blockSignals(false);
            } else {
                serial.feed(hex(read));
            }
        }
    }
    void send(const Request& request) {
        if (request.expects)
            client.send(request, &client, [this](const DeviceClient::Outcome& outcome) {
                trickle.stop();
                outcomes.append(outcome.ok() ? u"reply "_s +
                                                   protocol::toHexText(protocol::encodeReply(outcome.value()))
                                             : outcome.fault().message());
            });
        else
            client.send(request, &client, [this](const DeviceClient::Sent& sent) {
                outcomes.append(sent.ok() ? u"sent"_s : sent.fault().message());
            });
    }
};

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

class TestDevice : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cutsFrames_data() {
        QTest::addColumn<QString>("reads"); // hex, reads separated by spaces
        QTest::addColumn<QString>("chunks");
        QTest::addColumn<QString>("expired"); // what expire() then gives
        const auto row = [](const char* name, const QString& reads, const QString& chunks,
                            const QString& expired = {}) {
            QTest::newRow(name) << reads << chunks << expired;
        };
        row("split at every byte", u"40 02 E1 23"_s, u"F:4002E123"_s);
        row("two frames in one read", u"4002E1234002E223"_s, u"F:4002E123 F:4002E223"_s);
        row("start and end bytes inside the payload", u"4005DD0140232340"_s, u"F:4005DD01402323"_s,
            u"M:40"_s);
        row("length byte leaves no room for a command", u"40014002E123"_s, u"M:4001 F:4002E123"_s);
        row("junk over two reads, then a frame", u"0102 034002E123"_s, u"S:0102 S:03 F:4002E123"_s);
        row("a frame inside one that stops short", u"40FF4002E123"_s, {}, u"M:40FF F:4002E123"_s);
    }

    void cutsFrames() {
        QFETCH(QString, reads);
        QFETCH(QString, chunks);
        QFETCH(QString, expired);
        FrameReader reader;
        std::vector<FrameReader::Chunk> got;
        for (const QString& read : reads.split(u' '))
            for (FrameReader::Chunk& chunk : reader.feed(QByteArray::fromHex(read.toLatin1())))
                got.push_back(std::move(chunk));
        QCOMPARE(shown(got), chunks);
        QCOMPARE(reader.pending(), !expired.isEmpty());
        QCOMPARE(shown(reader.expire()), expired);
        QVERIFY(!reader.pending());
    }

    void timingFollowsTheBaud() {
        QCOMPARE(Timing::forBaud(115200), (Timing{406, 152, 2}));
        QCOMPARE(Timing::forBaud(1200), (Timing{968, 284, 2}));
        QCOMPARE((TimingOverrides{700, std::nullopt, 0}.applyTo(Timing::forBaud(1200))),
                 (Timing{700, 284, 0}));
        platform::FakeSerialControl serial;
        DeviceClient client(serial);
        QVERIFY(client.open(u"ttyFAKE"_s, {1200}).ok());
        QCOMPARE(client.timing(), Timing::forBaud(1200));
    }

    void exchange_data() {
        QTest::addColumn<QList<Request>>("requests");
        QTest::addColumn<Timing>("timing");
        QTest::addColumn<QStringList>("answers");  // one entry per attempt
        QTest::addColumn<QStringList>("outcomes"); // separated by "; "
        QTest::addColumn<QStringList>("trace");
        const auto row = [](const char* name, const QList<Request>& requests, const Timing& timing,
                            const QString& answers, const QString& outcomes, const QString& trace) {
            QTest::newRow(name) << requests << timing << answers.split(u'|') << outcomes.split(u"; "_s)
                                << trace.split(u", "_s);
        };
        const Timing once{60000, 60000, 0};
        const Timing twice{60000, 60000, 1};
        const Request connect = Request::connect();
        row("a second frame in the same read is not the answer", {connect}, kPatient, u"4002E1234002E223"_s,
            u"reply 4002E123"_s, u"Sent 4002F123, Received 4002E123, Stray 4002E223"_s);
        row("bytes before the start byte are skipped", {connect}, once, u"6F 6F4002E123"_s,
            u"reply 4002E123"_s, u"Sent 4002F123, Skipped 6F, Received 4002E123"_s);
        row("a reply under way at the deadline may finish", {connect}, once, u"4002 ~ E123"_s,
            u"reply 4002E123"_s, u"Sent 4002F123, Received 4002E123"_s);
        row("bytes that are no frame never hold the deadline", {connect}, Timing{50, 60000, 0}, u"6F*"_s,
            u"no answer"_s, u"Sent 4002F123, Skipped 6F, NoAnswer 4002F123"_s);
        row("stops short", {Request::readPorts()}, once, u"401CFB08 _"_s,
            u"malformed reply 401CFB08: incomplete, 4 of 30 bytes"_s, u"Sent 4002FB23, Malformed 401CFB08"_s);
        row("wrong size", {Request::readPorts()}, once, u"4003FB0023"_s,
            u"malformed reply 4003FB0023: FB frame of 5 bytes, expected 30"_s,
            u"Sent 4002FB23, Received 4003FB0023"_s);
        row("unexpected code", {connect}, once, u"4002E223"_s,
            u"unexpected reply 4002E223 (port set done), expected E1"_s,
            u"Sent 4002F123, Received 4002E223"_s);
        row("no answer, then an answer", {connect}, kPatient, u"~|4002E123"_s, u"reply 4002E123"_s,
            u"Sent 4002F123, NoAnswer 4002F123, Sent 4002F123, Received 4002E123"_s);
        row("a bad answer, then a good one", {Request::restore()}, twice, u"4002E424|4002E423"_s,
            u"reply 4002E423"_s,
            u"Sent 4003EDEE23, Malformed 4002E424, Sent 4003EDEE23, Received 4002E423"_s);
        row("retries exhausted: the worst answer stands", {connect}, twice, u"4002E124|~"_s,
            u"malformed reply 4002E124: end byte 24"_s,
            u"Sent 4002F123, Malformed 4002E124, Sent 4002F123, NoAnswer 4002F123"_s);
        row("retries exhausted", {connect}, twice, u"~|~"_s, u"no answer after 2 attempts"_s,
            u"Sent 4002F123, NoAnswer 4002F123, Sent 4002F123, NoAnswer 4002F123"_s);
        row("what came before a retry is drained", {Request::readPorts()}, twice, u"!401CFB08 ~|"_s + kPorts,
            u"reply "_s + kPorts,
            u"Sent 4002FB23, NoAnswer 4002FB23, Stray 401CFB08, Sent 4002FB23, Received "_s + kPorts);
        row("a late answer is not the next request's", {connect, Request::readPorts()}, twice,
            u"~|4002E123|4002E123 "_s + kPorts, u"reply 4002E123; reply "_s + kPorts,
            u"Sent 4002F123, NoAnswer 4002F123, Sent 4002F123, Received 4002E123, Sent 4002FB23, "
            u"Stray 4002E123, Received "_s +
                kPorts);
        row("forward completes once written", {Request::forward(8, hex(u"0040230D"_s)).value()}, kPatient,
            u"~"_s, u"sent"_s, u"Sent 4007DD080040230D23"_s);
    }

    void exchange() {
        QFETCH(QList<Request>, requests);
        QFETCH(Timing, timing);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, outcomes);
        QFETCH(QStringList, trace);
        Bench bench(timing);
        bench.answers = answers;
        for (const Request& request : requests)
            bench.send(request);
        QVERIFY(bench.outcomes.isEmpty()); // never from inside send()
        QTRY_COMPARE(bench.outcomes, outcomes);
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
        bench.serial.fail(platform::SerialFault::Resource);
        bench.serial.fail(platform::SerialFault::Resource); // a vanished device repeats it
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

QTEST_GUILESS_MAIN(TestDevice)
#include "tst_device.moc"
