// SPDX-License-Identifier: MIT
// What the tool prints and records: the JSON line, the table, the results file's rows and the
// trace, each byte for byte; the exit code a batch comes to.
#include "cli/Csv.h"
#include "cli/Output.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLockFile>
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
                 u"{\"port\":\"A\",\"baud\":9600,\"command\":\"network write\",\"result\":\"mismatch\","
                 u"\"message\":\"1 field(s) differ\",\"ip\":\"10.0.0.1\",\"mac\":\"00:08:DC:01:02:03\","
                 u"\"elapsedMs\":7,\"diff\":[{\"actual\":\"10.0.0.9\",\"expected\":\"10.0.0.1\","
                 u"\"field\":\"network.ip\"}],\"written\":%1,\"read\":%1}\n"_s.arg(octets));
        // Every key on every line.
        QCOMPARE(
            output::jsonLine(noAnswer()),
            u"{\"port\":\"C\\\"1\",\"baud\":null,\"command\":\"read\",\"result\":\"no-answer\",\"message\":"
            u"\"connect: no answer at 9600, 115200 baud\",\"ip\":null,\"mac\":null,\"elapsedMs\":668,"
            u"\"diff\":null,\"written\":null,\"read\":null}\n"_s);
    }

    void table() {
        QCOMPARE(
            output::table({passedWrite(), mismatch(), noAnswer()}),
            u"PORT          BAUD   RESULT        TIME  DETAILS\n"
            u"/dev/ttyUSB0  19200  passed       52 ms  mac=00:08:DC:01:02:03 ip=10.0.0.1 mask=255.255.255.0 "
            u"gateway=10.0.0.254 verified\n"
            u"B             9600   mismatch   1234 ms  port 3 parity: wrote none, device holds even\n"
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
        QCOMPARE(
            csv::row(output::resultsRow(mismatch(), time.toOffsetFromUtc(3600))),
            u"2026-01-02T03:04:05.006Z,B,write,9600,mismatch,,,\"port 3 parity: wrote none, device holds "
            u"even; mainPort.baud: wrote 9600, device holds 19200\",2 field(s) differ,1234\n"_s);
        QCOMPARE(
            csv::row(output::resultsRow(noAnswer(), time)),
            u"2026-01-02T03:04:05.006Z,\"C\"\"1\",read,,no-answer,,,,\"connect: no answer at 9600, 115200 baud\",668\n"_s);
        const QStringList formulas =
            output::resultsRow(unit(u"read"_s, u"=A"_s, 0, Verdict::NoAnswer, u"@x"_s, 1), time);
        QCOMPARE(formulas.mid(1, 1) + formulas.mid(8, 1), (QStringList{u"'=A"_s, u"'@x"_s}));
    }

    void terminalSafe() {
        QCOMPARE(output::terminalSafe(u"a\x1b[31m\r\n\u009b"_s), u"a\\x1b[31m\\x0d\n\\x9b"_s);
    }

    // The worst of a batch decides the exit code; what a device fault and a scan come to; a port in
    // use names the lock file that holds it.
    void verdicts() {
        using enum Verdict;
        QCOMPARE(worst({}), ExitCode::Passed);
        QCOMPARE(worst({Passed, Mismatch, Passed}), ExitCode::Mismatch);
        QCOMPARE(worst({NoAnswer, CannotOpen, Malformed}), ExitCode::CannotOpen);
        QCOMPARE(worst({PortLost, NoAnswer}), ExitCode::PortLost);
        using Kind = device::DeviceFault::Kind;
        const std::pair<Kind, Verdict> faults[] = {{Kind::NoAnswer, NoAnswer},
                                                   {Kind::PortLost, PortLost},
                                                   {Kind::PortNotOpen, PortLost},
                                                   {Kind::Malformed, Malformed},
                                                   {Kind::UnexpectedReply, Malformed}};
        for (const auto& [kind, verdict] : faults)
            QCOMPARE(verdictOf(kind), verdict);
        QCOMPARE(verdictOf(device::ConnectFault::Kind::Malformed), Malformed);
#ifdef Q_OS_WIN
        QSKIP("Windows leaves no lock file for a port in use");
#endif
        const QString name = u"expander-test-%1"_s.arg(QCoreApplication::applicationPid());
        QLockFile lock(u"/tmp/LCK.."_s + name);
        if (!lock.tryLock(0))
            QSKIP("no lock folder to plant a lock file in");
        QCOMPARE(
            openFailure(platform::SerialFault::InUse, u"/dev/"_s + name),
            u"in use by another program (lock file /tmp/LCK..%1 of user %2, process %3; if that program has "
            u"ended, remove it)"_s.arg(name, QFileInfo(lock.fileName()).owner())
                .arg(QCoreApplication::applicationPid()));
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
