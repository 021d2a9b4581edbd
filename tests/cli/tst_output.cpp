// SPDX-License-Identifier: MIT
// What the tool prints and records: the JSON line, the table, the results file's rows and the
// trace, each byte for byte.
#include "cli/Csv.h"
#include "cli/Output.h"

#include <QTest>

using namespace cli;
using namespace Qt::StringLiterals;
using Field = config::ProfileDifference::Field;
using Traffic = device::DeviceClient::Traffic;

namespace {

const protocol::NetworkParameters kNetwork{
    {0, 8, 0xDC, 1, 2, 3, 10, 0, 0, 1, 255, 255, 255, 0, 10, 0, 0, 254}};

UnitReport unit(const QString& command, const QString& port, qint32 baud, Verdict verdict,
                const QString& message, qint64 ms) {
    UnitReport report;
    std::tie(report.command, report.port, report.baud, report.verdict, report.message, report.elapsedMs) =
        std::tie(command, port, baud, verdict, message, ms);
    return report;
}

UnitReport passedWrite() {
    UnitReport report = unit(u"write"_s, u"/dev/ttyUSB0"_s, 19200, Verdict::Passed, {}, 52);
    report.written.emplace().network = kNetwork;
    report.diff.emplace();
    return report;
}

UnitReport mismatch() {
    UnitReport report = unit(u"write"_s, u"B"_s, 9600, Verdict::Mismatch, u"2 field(s) differ"_s, 1234);
    report.diff = {{Field::Parity, 3, u"无"_s, u"偶校验"_s}, {Field::MainBaud, 0, u"9600"_s, u"19200"_s}};
    return report;
}

UnitReport noAnswer() {
    return unit(u"read"_s, u"C\"1"_s, 0, Verdict::NoAnswer, u"connect: no answer at 9600, 115200 baud"_s,
                668);
}

} // namespace

class TestOutput : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void jsonLines() {
        UnitReport network =
            unit(u"network write"_s, u"A"_s, 9600, Verdict::Mismatch, u"1 field(s) differ"_s, 7);
        network.networkWritten = network.networkRead = kNetwork;
        network.diff = {{Field::Ip, 0, u"10.0.0.1"_s, u"10.0.0.9"_s}};
        const QString octets =
            u"{\"gateway\":\"10.0.0.254\",\"ip\":\"10.0.0.1\",\"mac\":\"00:08:DC:01:02:03\","
            u"\"mask\":\"255.255.255.0\"}"_s;
        QCOMPARE(output::jsonLine(network),
                 u"{\"port\":\"A\",\"baud\":9600,\"command\":\"network "
                 u"write\",\"result\":\"mismatch\",\"message\":\"1 field(s) "
                 u"differ\",\"ip\":\"10.0.0.1\",\"mac\":\"00:08:DC:01:02:03\",\"elapsedMs\":7,\"diff\":[{"
                 u"\"actual\":"
                 u"\"10.0.0.9\","
                 u"\"expected\":\"10.0.0.1\",\"field\":\"network.ip\"}],\"written\":%1,\"read\":%1}\n"_s.arg(
                     octets));
    }

    void table() {
        QCOMPARE(
            output::table({passedWrite(), mismatch(), noAnswer()}),
            u"PORT          BAUD   RESULT        TIME  DETAILS\n"
            u"/dev/ttyUSB0  19200  passed       52 ms  mac=00:08:DC:01:02:03 ip=10.0.0.1 mask=255.255.255.0 "
            u"gateway=10.0.0.254 verified\n"
            u"B             9600   mismatch   1234 ms  ports[2].parity: wrote 无, device holds 偶校验\n"
            u"                                         mainPort.baud: wrote 9600, device holds 19200\n"
            u"C\"1           -      no-answer   668 ms  connect: no answer at 9600, 115200 baud\n"_s);
    }

    void resultsRows() {
        const QDateTime time(QDate(2026, 1, 2), QTime(3, 4, 5, 6), Qt::UTC);
        QCOMPARE(csv::row(output::resultsHeader()),
                 u"time,port,command,baud,result,ip,mac,diff,message,elapsed_ms\n"_s);
        QCOMPARE(
            csv::row(output::resultsRow(passedWrite(), time)),
            u"2026-01-02T03:04:05.006Z,/dev/ttyUSB0,write,19200,passed,10.0.0.1,00:08:DC:01:02:03,,,52\n"_s);
        QCOMPARE(csv::row(output::resultsRow(mismatch(), time.toOffsetFromUtc(3600))),
                 u"2026-01-02T03:04:05.006Z,B,write,9600,mismatch,,,\"ports[2].parity: wrote 无, device "
                 u"holds 偶校验; "
                 u"mainPort.baud: wrote 9600, device holds 19200\",2 field(s) differ,1234\n"_s);
        QCOMPARE(
            csv::row(output::resultsRow(noAnswer(), time)),
            u"2026-01-02T03:04:05.006Z,\"C\"\"1\",read,,no-answer,,,,\"connect: no answer at 9600, 115200 baud\",668\n"_s);
    }

    void trace_data() {
        QTest::addColumn<Traffic>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("line");
        QTest::newRow("sent") << Traffic::Sent << QByteArray::fromHex("4002F123") << u"> 4002F123 connect"_s;
        QTest::newRow("malformed") << Traffic::Malformed << QByteArray::fromHex("4002E124")
                                   << u"< 4002E124 malformed: end byte 24"_s;
        QTest::newRow("stray") << Traffic::Stray << QByteArray::fromHex("4002E223")
                               << u"< 4002E223 port set done (unasked, dropped)"_s;
        QTest::newRow("skipped") << Traffic::Skipped << QByteArray::fromHex("6F32")
                                 << u"< 6F32 2 byte(s) before a start byte, skipped"_s;
        QTest::newRow("no answer") << Traffic::NoAnswer << QByteArray::fromHex("4002FB23")
                                   << u"! 4002FB23 no answer to read ports"_s;
    }

    void trace() {
        QFETCH(Traffic, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, line);
        QCOMPARE(output::traceLine(QTime(9, 5, 0, 7), u"/dev/ttyUSB0"_s, kind, bytes),
                 u"09:05:00.007 /dev/ttyUSB0 "_s + line + u'\n');
        QCOMPARE(output::traceNote(QTime(23, 0, 1, 120), u"P"_s, u"open at 9600 baud"_s),
                 u"23:00:01.120 P - open at 9600 baud\n"_s);
    }
};

QTEST_GUILESS_MAIN(TestOutput)
#include "tst_output.moc"
