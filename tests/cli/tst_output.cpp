// What the tool prints and records: the JSON line, the table, the results file's rows and the
// trace, each byte for byte.
#include "cli/Csv.h"
#include "cli/Output.h"
#include "config/ProfileFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace cli;
using namespace Qt::StringLiterals;
using Field = config::ProfileDifference::Field;
using Traffic = device::DeviceClient::Traffic;

Q_DECLARE_METATYPE(cli::UnitReport)

namespace {

const protocol::NetworkParameters kNetwork{
    {0, 8, 0xDC, 1, 2, 3, 10, 0, 0, 1, 255, 255, 255, 0, 10, 0, 0, 254}};

UnitReport passedWrite() {
    config::Profile written;
    written.network = kNetwork;
    return {.command = u"write"_s,
            .port = u"/dev/ttyUSB0"_s,
            .baud = 19200,
            .written = written,
            .diff = std::vector<config::ProfileDifference>{},
            .elapsedMs = 52};
}

UnitReport mismatch() {
    return {.command = u"write"_s,
            .port = u"B"_s,
            .baud = 9600,
            .verdict = Verdict::Mismatch,
            .message = u"2 field(s) differ"_s,
            .diff = std::vector<config::ProfileDifference>{{Field::Parity, 3, u"无"_s, u"偶校验"_s},
                                                           {Field::MainBaud, 0, u"9600"_s, u"19200"_s}},
            .elapsedMs = 1234};
}

UnitReport noAnswer() {
    return {.command = u"read"_s,
            .port = u"C\"1"_s,
            .verdict = Verdict::NoAnswer,
            .message = u"connect: no answer at 9600, 115200 baud"_s,
            .elapsedMs = 668};
}

} // namespace

class TestOutput : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void jsonLine_data();
    void jsonLine();
    void jsonProfileReadsBack();
    void table();
    void resultsRows();
    void trace_data();
    void trace();
};

void TestOutput::jsonLine_data() {
    QTest::addColumn<UnitReport>("report");
    QTest::addColumn<QString>("line");
    QTest::newRow("no answer")
        << noAnswer()
        << u"{\"port\":\"C\\\"1\",\"baud\":0,\"command\":\"read\",\"result\":\"no-answer\","
           u"\"message\":\"connect: no answer at 9600, 115200 baud\",\"elapsedMs\":668}\n"_s;
    UnitReport network{
        .command = u"network write"_s,
        .port = u"A"_s,
        .baud = 9600,
        .verdict = Verdict::Mismatch,
        .message = u"1 field(s) differ"_s,
        .networkWritten = kNetwork,
        .networkRead = kNetwork,
        .diff = std::vector<config::ProfileDifference>{{Field::Ip, 0, u"10.0.0.1"_s, u"10.0.0.9"_s}},
        .elapsedMs = 7};
    QTest::newRow("network mismatch")
        << network
        << u"{\"port\":\"A\",\"baud\":9600,\"command\":\"network "
           u"write\",\"result\":\"mismatch\",\"message\":\"1 "
           u"field(s) "
           u"differ\",\"written\":{\"gateway\":\"10.0.0.254\",\"ip\":\"10.0.0.1\",\"mac\":\"00:08:DC:01:02:"
           u"03\",\"mask\":\"255.255.255.0\"},\"read\":{\"gateway\":\"10.0.0.254\",\"ip\":\"10.0.0.1\","
           u"\"mac\":\"00:"
           u"08:DC:01:02:03\",\"mask\":\"255.255.255.0\"},\"diff\":[{\"actual\":\"10.0.0.9\",\"expected\":"
           u"\"10.0.0."
           u"1\",\"field\":\"network.ip\"}],\"elapsedMs\":7}\n"_s;
    QTest::newRow("forward")
        << UnitReport{.command = u"forward"_s,
                      .port = u"A"_s,
                      .baud = 115200,
                      .forwardPort = 2,
                      .forwarded = QByteArray::fromHex("48FF"),
                      .elapsedMs = 1}
        << u"{\"port\":\"A\",\"baud\":115200,\"command\":\"forward\",\"result\":\"passed\","
           u"\"written\":{\"bytes\":\"48FF\",\"to\":2},\"elapsedMs\":1}\n"_s;
}

void TestOutput::jsonLine() {
    QFETCH(UnitReport, report);
    QFETCH(QString, line);
    QCOMPARE(output::jsonLine(report), line);
}

void TestOutput::jsonProfileReadsBack() {
    config::Profile profile;
    profile.ports.fill({u"RS485全双工"_s, u"57600"_s, u"7"_s, u"2"_s, u"偶校验"_s});
    profile.mainBaud = u"19200"_s;
    profile.output = u"禁止"_s;
    profile.network = kNetwork;
    UnitReport report = passedWrite();
    report.read = profile;
    const QJsonObject line = QJsonDocument::fromJson(output::jsonLine(report).toUtf8()).object();
    const QByteArray read = QJsonDocument(line.value(u"read").toObject()).toJson();
    QCOMPARE(config::ProfileFile::parse(read, u"line"_s).value(), profile);
    QCOMPARE(line.value(u"diff").toArray().size(), 0);
}

void TestOutput::table() {
    QCOMPARE(output::table({passedWrite(), mismatch(), noAnswer()}),
             u"PORT          BAUD   RESULT        TIME  DETAILS\n"
             u"/dev/ttyUSB0  19200  passed       52 ms  mac=00:08:DC:01:02:03 ip=10.0.0.1 mask=255.255.255.0 "
             u"gateway=10.0.0.254 verified\n"
             u"B             9600   mismatch   1234 ms  ports[2].parity: wrote 无, device holds 偶校验\n"
             u"                                         mainPort.baud: wrote 9600, device holds 19200\n"
             u"C\"1           -      no-answer   668 ms  connect: no answer at 9600, 115200 baud\n"_s);
}

void TestOutput::resultsRows() {
    const QDateTime time(QDate(2026, 1, 2), QTime(3, 4, 5, 6), Qt::UTC);
    QCOMPARE(csv::row(output::resultsHeader()),
             u"time,port,command,baud,result,ip,mac,diff,message,elapsed_ms\n"_s);
    QCOMPARE(csv::row(output::resultsRow(passedWrite(), time)),
             u"2026-01-02T03:04:05.006Z,/dev/ttyUSB0,write,19200,passed,10.0.0.1,00:08:DC:01:02:03,,,52\n"_s);
    QCOMPARE(
        csv::row(output::resultsRow(mismatch(), time.toOffsetFromUtc(3600))),
        u"2026-01-02T03:04:05.006Z,B,write,9600,mismatch,,,\"ports[2].parity: wrote 无, device holds 偶校验; "
        u"mainPort.baud: wrote 9600, device holds 19200\",2 field(s) differ,1234\n"_s);
    QCOMPARE(
        csv::row(output::resultsRow(noAnswer(), time)),
        u"2026-01-02T03:04:05.006Z,\"C\"\"1\",read,,no-answer,,,,\"connect: no answer at 9600, 115200 baud\",668\n"_s);
}

void TestOutput::trace_data() {
    QTest::addColumn<Traffic>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("line");
    QTest::newRow("sent") << Traffic::Sent << QByteArray::fromHex("4002F123") << u"> 4002F123 connect"_s;
    QTest::newRow("received") << Traffic::Received << QByteArray::fromHex("4002E123")
                              << u"< 4002E123 connected"_s;
    QTest::newRow("malformed") << Traffic::Malformed << QByteArray::fromHex("4002E124")
                               << u"< 4002E124 malformed: end byte 24"_s;
    QTest::newRow("stray") << Traffic::Stray << QByteArray::fromHex("4002E223")
                           << u"< 4002E223 port set done (unasked, dropped)"_s;
    QTest::newRow("no answer") << Traffic::NoAnswer << QByteArray::fromHex("4002FB23")
                               << u"! 4002FB23 no answer to read ports"_s;
}

void TestOutput::trace() {
    QFETCH(Traffic, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, line);
    QCOMPARE(output::traceLine(QTime(9, 5, 0, 7), u"/dev/ttyUSB0"_s, kind, bytes),
             u"09:05:00.007 /dev/ttyUSB0 "_s + line + u'\n');
    QCOMPARE(output::traceNote(QTime(23, 0, 1, 120), u"P"_s, u"open at 9600 baud"_s),
             u"23:00:01.120 P - open at 9600 baud\n"_s);
}

QTEST_GUILESS_MAIN(TestOutput)
#include "tst_output.moc"
