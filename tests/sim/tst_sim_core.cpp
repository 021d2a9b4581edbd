// SPDX-License-Identifier: MIT
// The simulated device without its process: the answer to each frame and what it holds afterwards;
// cutting the main port's byte stream into frames by their length byte, whatever the reads, and what
// is junk, held back or given up; and how the faults asked for shape each reply (its writes, their
// waits, the garbage in front, the tag the log shows).
#include "sim/Device.h"
#include "sim/FaultPlan.h"
#include "sim/FrameAssembler.h"

#include <QTest>

using namespace Qt::StringLiterals;
using sim::Device;
using sim::DeviceSetup;
using sim::FaultOptions;
using sim::FaultPlan;
using sim::FrameAssembler;
using sim::Outcome;
using sim::Piece;

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

// Pieces as short texts, separated by spaces, so that a failing row shows what was cut:
// "F:4002F123", "J:0102/2" (junk, with the run's length), "I:401CCD/30" (incomplete, with the size
// its length byte announced).
QString texts(const std::vector<Piece>& pieces) {
    QStringList list;
    for (const Piece& piece : pieces) {
        const QString bytes = QString::fromLatin1(piece.bytes.toHex().toUpper());
        list.append(piece.kind == Piece::Kind::Frame  ? u"F:"_s + bytes
                    : piece.kind == Piece::Kind::Junk ? u"J:%1/%2"_s.arg(bytes).arg(piece.length)
                                                      : u"I:%1/%2"_s.arg(bytes).arg(piece.expected));
    }
    return list.join(u' ');
}

const QByteArray kConnected = QByteArray::fromHex("4002E123");

// A planned reply as text: each write as "wait>hex", then its tag in brackets; "-" for no writes.
// Garbage, every byte in front of the first start byte, shows as "~count,".
QString shown(const sim::PlannedReply& planned) {
    qsizetype garbage = planned.wire().indexOf('\x40');
    QStringList writes;
    for (const sim::PlannedWrite& write : planned.writes) {
        const qsizetype hidden = std::min(garbage, write.bytes.size());
        garbage -= hidden;
        writes.append(u"%1>%2%3"_s.arg(write.waitMs)
                          .arg(hidden > 0 ? u"~%1,"_s.arg(hidden) : QString(),
                               QString::fromLatin1(write.bytes.mid(hidden).toHex().toUpper())));
    }
    return u"%1 [%2]"_s.arg(planned.dropped() ? u"-"_s : writes.join(u' '), planned.tag);
}

} // namespace

Q_DECLARE_METATYPE(DeviceSetup)
Q_DECLARE_METATYPE(FaultOptions)

class TestSimCore : public QObject {
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

    void cutsTheStream_data() {
        QTest::addColumn<QString>("input");   // hex, reads separated by spaces
        QTest::addColumn<QString>("fed");     // pieces out of the reads
        QTest::addColumn<QString>("held");    // held back afterwards: "frame", "junk" or ""
        QTest::addColumn<QString>("expired"); // pieces out of expire()
        const auto row = [](const char* name, const QString& input, const QString& fed, const char* held = "",
                            const char* expired = "") {
            QTest::newRow(name) << input << fed << QString::fromLatin1(held) << QString::fromLatin1(expired);
        };
        row("a frame and the start of the next", u"4002F12340 02FB23"_s, u"F:4002F123 F:4002FB23"_s);
        row("frame boundaries from the length byte, not from 23 or 40 inside",
            u"4014CE23402340234023402340234023402340234023"_s,
            u"F:4014CE23402340234023402340234023402340234023"_s);
        row("one run of junk over three reads is one piece", u"01 0203 FF4002F123"_s,
            u"J:010203FF/4 F:4002F123"_s);
        row("a long run of junk is counted, its start shown", u"01"_s.repeated(20) + u" 4002F123"_s,
            u"J:"_s + u"01"_s.repeated(FrameAssembler::ShownJunk) + u"/20 F:4002F123"_s);
        row("junk alone waits for the time-out", u"2323"_s, {}, "junk", "J:2323/2");
        row("a frame that stops coming", u"401CCD0803"_s, {}, "frame", "I:401CCD0803/30");
        row("a lone start byte", u"40"_s, {}, "frame", "I:40/0");
        row("a too large length byte swallows the next request", u"4003F123 4002"_s, u"F:4003F12340"_s,
            "junk", "J:02/1");
        row("length byte zero is a frame of its own, rejected later", u"40004002F123"_s,
            u"F:4000 F:4002F123"_s);
        row("a bad end byte still ends the frame where its length says", u"4002F1244002FB23"_s,
            u"F:4002F124 F:4002FB23"_s);
        const QString portSet = u"401CCD"_s + u"080302"_s.repeated(8) + u"080123"_s;
        for (int cut = 2; cut < portSet.size(); cut += 2)
            QTest::addRow("port set cut after byte %d", cut / 2)
                << portSet.left(cut) + u' ' + portSet.mid(cut) << u"F:"_s + portSet << QString() << QString();
    }

    void cutsTheStream() {
        QFETCH(QString, input);
        QFETCH(QString, fed);
        QFETCH(QString, held);
        QFETCH(QString, expired);
        FrameAssembler assembler;
        QStringList out;
        for (const QString& read : input.split(u' '))
            if (const QString pieces = texts(assembler.feed(QByteArray::fromHex(read.toLatin1())));
                !pieces.isEmpty())
                out.append(pieces);
        QCOMPARE(out.join(u' '), fed);
        QCOMPARE(assembler.partial() ? u"frame"_s : assembler.pending() ? u"junk"_s : QString(), held);
        QCOMPARE(texts(assembler.expire()), expired);
        QVERIFY(!assembler.pending());
    }

    void shapesReplies_data() {
        QTest::addColumn<FaultOptions>("faults");
        QTest::addColumn<QString>("replies"); // the 1st, 2nd ... reply of 40 02 E1 23, separated by " | "
        const auto row = [](const char* name, const FaultOptions& faults, const QString& replies) {
            QTest::newRow(name) << faults << replies;
        };
        row("clean", {}, u"0>4002E123 []"_s);
        row("delay and split: the delay comes first, the split after the first half",
            {.delayMs = 30, .splitGapMs = 60}, u"30>4002 60>E123 [delay:30,split:60]"_s);
        row("drop every second and corrupt every third, counted on the same replies",
            {.dropEvery = 2, .corruptEndEvery = 3},
            u"0>4002E123 [] | - [drop] | 0>4002E124 [corrupt-end] | - [drop] | 0>4002E123 [] | - [drop]"_s);
        row("double and corrupt: both copies corrupted, in one write",
            {.corruptEndEvery = 1, .doubled = true}, u"0>4002E1244002E124 [corrupt-end,double]"_s);
        row("double and split: split in the middle of the pair", {.splitGapMs = 20, .doubled = true},
            u"0>4002E123 20>4002E123 [double,split:20]"_s);
        row("garbage once in front of a doubled reply", {.garbage = 300, .doubled = true},
            u"0>~300,4002E1234002E123 [double,garbage:300]"_s);
        row("garbage is part of what is split", {.splitGapMs = 10, .garbage = 3},
            u"0>~3, 10>4002E123 [garbage:3,split:10]"_s);
    }

    void shapesReplies() {
        QFETCH(FaultOptions, faults);
        QFETCH(QString, replies);
        FaultPlan plan(faults);
        QStringList planned;
        for (qsizetype i = 0; i <= replies.count(u" | "_s); ++i)
            planned.append(shown(plan.next(kConnected)));
        QCOMPARE(planned.join(u" | "_s), replies);
    }
};

QTEST_GUILESS_MAIN(TestSimCore)
#include "tst_sim_core.moc"
