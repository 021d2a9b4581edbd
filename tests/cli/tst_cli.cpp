// SPDX-License-Identifier: MIT
// The tool's pure parts: the command line (what each subcommand accepts, into which invocation,
// what it refuses with which message, --help and --version); the units file (which values each unit
// of a batch gets, what it refuses, the ledger that carries the * row's count on); and what the tool
// prints and records (the JSON line, the table, the results file's rows, the trace, byte for byte)
// and the exit code a batch comes to.
#include "cli/CommandLine.h"
#include "cli/Csv.h"
#include "cli/Ledger.h"
#include "cli/Output.h"
#include "cli/UnitsFile.h"
#include "config/Describe.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>

using namespace cli;
using namespace Qt::StringLiterals;
using Field = config::ProfileDifference::Field;
using Traffic = device::DeviceClient::Traffic;

Q_DECLARE_METATYPE(cli::NetworkValues)

namespace {

QStringList words(const char* text) {
    return QString::fromUtf8(text).split(u' ', Qt::SkipEmptyParts);
}

// Every field of the invocation that is set, in one line.
QString shown(const Invocation& invocation) {
    QStringList parts{CommandLine::name(invocation.command)};
    const auto add = [&](bool given, const QString& text) {
        if (given)
            parts.append(text);
    };
    add(!invocation.ports.isEmpty(), u"ports="_s + invocation.ports.join(u','));
    add(invocation.allPorts, u"all"_s);
    for (qint32 baud : invocation.bauds)
        parts.append(u"baud="_s + QString::number(baud));
    add(invocation.timing.answerMs.has_value(), u"timeout=%1"_s.arg(invocation.timing.answerMs.value_or(0)));
    add(invocation.timing.retries.has_value(), u"retries=%1"_s.arg(invocation.timing.retries.value_or(0)));
    add(invocation.json, u"json"_s);
    add(invocation.trace, u"trace"_s);
    add(invocation.verify, u"verify"_s);
    add(!invocation.profilePath.isEmpty(), u"profile="_s + invocation.profilePath);
    add(!invocation.unitsPath.isEmpty(), u"units="_s + invocation.unitsPath);
    add(!invocation.resultsPath.isEmpty(), u"results="_s + invocation.resultsPath);
    const protocol::NetworkParameters octets = invocation.network.applyTo({});
    add(invocation.network.ip.has_value(), u"ip="_s + config::describe::dottedQuad(octets, 6));
    add(invocation.network.mac.has_value(), u"mac="_s + config::describe::macAddress(octets));
    add(invocation.network.mask.has_value(), u"mask="_s + config::describe::dottedQuad(octets, 10));
    add(invocation.network.gateway.has_value(), u"gateway="_s + config::describe::dottedQuad(octets, 14));
    add(invocation.noNetwork, u"no-network"_s);
    add(invocation.dryRun, u"dry-run"_s);
    add(invocation.expect.has_value(), u"expect=%1"_s.arg(invocation.expect.value_or(0)));
    add(!invocation.include.isEmpty() || !invocation.exclude.isEmpty(),
        u"include=%1 exclude=%2"_s.arg(invocation.include.join(u','), invocation.exclude.join(u',')));
    add(!invocation.ledgerPath.isEmpty(), u"ledger="_s + invocation.ledgerPath);
    add(invocation.bom, u"bom"_s);
    add(invocation.forwardPort > 0, u"to=%1 bytes=%2"_s.arg(invocation.forwardPort)
                                        .arg(QString::fromLatin1(invocation.forwardData.toHex())));
    return parts.join(u' ');
}

const NetworkValues kNoBase;
const NetworkValues kProfile{.mac = config::MacAddress{0x00, 0x08, 0xDC, 0x01, 0x02, 0x03},
                             .ip = config::Ipv4Address{1, 1, 1, 1},
                             .mask = config::Ipv4Address{255, 255, 255, 0}};

// "ip mac mask gateway", "-" for a field not given.
QString shown(const NetworkValues& values) {
    using namespace config::describe;
    const protocol::NetworkParameters octets = values.applyTo({});
    const auto field = [](bool given, const QString& text) { return given ? text : u"-"_s; };
    return QStringList{field(values.ip.has_value(), dottedQuad(octets, 6)),
                       field(values.mac.has_value(), macAddress(octets)),
                       field(values.mask.has_value(), dottedQuad(octets, 10)),
                       field(values.gateway.has_value(), dottedQuad(octets, 14))}
        .join(u' ');
}

// The file's assignment to `ports`; an empty text stands for no units file.
protocol::Result<std::vector<NetworkValues>, UnitsFault> assign(const QString& text, const QStringList& ports,
                                                                const NetworkValues& base) {
    const auto file = text.isEmpty() ? protocol::Result<UnitsFile, UnitsFault>(UnitsFile())
                                     : UnitsFile::parse(text, u"units.csv"_s);
    if (!file)
        return file.fault();
    return file.value().assign(ports, base, u"profile.json: network"_s);
}

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

class TestCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parses_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("result"); // the invocation, or the message refusing it
        const auto row = [](const char* arguments, const char* result) {
            QTest::newRow(arguments) << words(arguments) << QString::fromUtf8(result);
        };
        row("write p.json -p A --port=B -b 19200 --baud 9600 --baud 19200 --verify --units u.csv --json "
            "--results r.csv --trace",
            "write ports=A,B baud=19200 baud=9600 json trace verify profile=p.json units=u.csv "
            "results=r.csv");
        row("scan -p/dev/ttyUSB0 -b 115200 --timeout 900 --retries 0",
            "scan ports=/dev/ttyUSB0 baud=115200 timeout=900 retries=0");
        row("read -p A --timeout 0", "expander-cli read: --timeout 0 is not a whole number from 1 to 600000");
        row("network write --all --ip 10.0.0.5 --mask 255.255.0.0 --gateway 10.0.0.1 --mac 02:00:00:0a:0B:0c",
            "network write all ip=10.0.0.5 mac=02:00:00:0A:0B:0C mask=255.255.0.0 gateway=10.0.0.1");
        row("write p.json -p A --no-network --dry-run --units u.csv --ledger l.csv --results r.csv --bom",
            "write ports=A profile=p.json units=u.csv results=r.csv no-network dry-run ledger=l.csv bom");
        row("read -a --include ttyUSB* --include=COM? --exclude ttyUSB9 --expect 3",
            "read all expect=3 include=ttyUSB*,COM? exclude=ttyUSB9");
        row("read -p A --expect 2", "expander-cli read: --expect needs --all");
        row("scan --expect x", "expander-cli scan: --expect x is not a number of units");
        row("write p.json -a --dry-run",
            "expander-cli write: --dry-run and --all exclude each other: finding "
            "the units sends a connect request to every port");
        row("read -p A --bom", "expander-cli read: --bom needs --results FILE");
        row("write p.json -p A --ledger l.csv",
            "expander-cli write: --ledger FILE needs --units FILE, whose * row it keeps count of");
        row("network write -p A --ip 10.0.0.5 --mask 255.0.255.0",
            "expander-cli network write: --mask: 255.0.255.0 is not a subnet mask: its ones must come first");
        row("network write -p A --ip 10.0.0.5 --mask 255.255.255.0 --gateway 10.0.1.1",
            "expander-cli network write: --gateway: 10.0.1.1 is outside the network 10.0.0.0/24 of ip "
            "10.0.0.5");
        row("forward -p A --to 8 -- 4F 6f9a", "forward ports=A to=8 bytes=4f6f9a");
        QTest::newRow("forward of 252 bytes") << (words("forward -p A --to 1") << QString(504, u'f'))
                                              << u"forward ports=A to=1 bytes="_s + QString(504, u'f');
        row("", "expander-cli: no command given");
        row("frob", "expander-cli: unknown command \"frob\"");
        row("network -p", "expander-cli: network needs read or write");
        row("read -p A --verify", "expander-cli read: Unknown option 'verify'.");
        row("read", "expander-cli read: no port given: use --port P or --all");
        row("restore -p A -p A", "expander-cli restore: --port A is given twice");
        row("read -a -p A", "expander-cli read: --all and --port exclude each other");
        row("read -p A -b 9601", "expander-cli read: --baud 9601 is not a main-port baud rate "
                                 "(1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600, 76800, 115200)");
        row("write -p A", "expander-cli write: no profile given");
        row("write a b -p A", "expander-cli write: one profile only, not \"a b\"");
        row("network write -p A",
            "expander-cli network write: nothing to write: give --ip, --mac, --mask, --gateway or --units");
        row("network write -p A --ip 10.0.0.256",
            "expander-cli network write: --ip \"10.0.0.256\" is not an address such as 192.168.1.100");
        row("network write -p A --mac 0:08:DC:01:02:03",
            "expander-cli network write: --mac \"0:08:DC:01:02:03\" is not an address such as "
            "00:08:DC:01:02:03");
        row("forward -p A FF", "expander-cli forward: --to N is needed: the extension port, 1 to 8");
        row("forward -p A --to 0 FF", "expander-cli forward: --to 0 is not an extension port, 1 to 8");
        row("forward -p A --to 9 FF", "expander-cli forward: --to 9 is not an extension port, 1 to 8");
        row("forward -p A --to 2 FF F",
            "expander-cli forward: HEXBYTES: \"FF F\" has an odd number of digits");
        row("forward -p A --to 2 4G",
            "expander-cli forward: HEXBYTES: \"4G\" holds G, which is not a hex digit");
        row("forward -p A --to 2", "expander-cli forward: HEXBYTES: no bytes to forward");
        row("scan extra", "expander-cli scan: unexpected \"extra\"");
        QTest::newRow("too many bytes")
            << (words("forward -p A --to 2") << QString(506, u'0'))
            << u"expander-cli forward: HEXBYTES: 253 bytes, one frame carries at most 252"_s;
    }

    // A command line either parses into the invocation shown, or is refused with its first line.
    void parses() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, result);
        const auto parsed = CommandLine::parse(arguments);
        if (parsed.ok()) {
            QCOMPARE(shown(parsed.value()), result);
            return;
        }
        QCOMPARE(parsed.fault().text.section(u'\n', 0, 0), result);
        QCOMPARE(parsed.fault().code, ExitCode::BadInput);
        QVERIFY(parsed.fault().text.endsWith(u" --help'.\n"_s));
    }

    void helpAndVersion() {
        const Stop help = CommandLine::parse({u"write"_s, u"-h"_s}).fault();
        QCOMPARE(help.code, ExitCode::Passed);
        QVERIFY(help.text.startsWith(u"Usage: expander-cli write PROFILE [options]\n"_s));
        QVERIFY(CommandLine::parse({u"scan"_s, u"-h"_s})
                    .fault()
                    .text.contains(u"sends a connect request to every port"_s));
        QVERIFY(help.text.endsWith(CommandLine::exitStatus()));
        QCOMPARE(CommandLine::parse({u"--help"_s}).fault(), (Stop{ExitCode::Passed, CommandLine::help()}));
        QCOMPARE(CommandLine::parse({u"--version"_s}).fault(),
                 (Stop{ExitCode::Passed, u"expander-cli 1.0.0\n"_s}));
    }

    void assigns_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("ports");
        QTest::addColumn<NetworkValues>("base");
        QTest::addColumn<QStringList>("expected"); // each unit's values, or the message refusing the file

        QTest::newRow("rows by port; header in any order and case; BOM, CR LF, comments, blank lines, quotes")
            << u"\uFEFFMAC , Port,ip\r\n# a comment, \"not\" a "
               u"row\r\n\r\n\"02:00:00:00:00:0a\",\"B\",10.0.0.2\r\n"
               u"02:00:00:00:00:0B,A,\n"_s
            << QStringList{u"A"_s, u"B"_s} << kNoBase
            << QStringList{u"- 02:00:00:00:00:0B - -"_s, u"10.0.0.2 02:00:00:00:00:0A - -"_s};
        QTest::newRow("the * row counts up in port order, over the profile's values")
            << u"port,ip,mac\n*,10.0.0.253,02:00:00:00:00:FF\nB,10.1.0.1,\n"_s
            << QStringList{u"A"_s, u"B"_s, u"C"_s} << kProfile
            << QStringList{u"10.0.0.253 02:00:00:00:00:FF 255.255.255.0 -"_s,
                           u"10.1.0.1 00:08:DC:01:02:03 255.255.255.0 -"_s,
                           u"10.0.0.254 02:00:00:00:01:00 255.255.255.0 -"_s};
        QTest::newRow("no file, one unit: the profile's values")
            << QString() << QStringList{u"A"_s} << kProfile
            << QStringList{u"1.1.1.1 00:08:DC:01:02:03 255.255.255.0 -"_s};
        QTest::newRow("a quoted port name with a comma and a quote")
            << u"port,gateway\n\"a,\"\"b\"\"\" , 10.0.0.9\n"_s << QStringList{u"a,\"b\""_s} << kNoBase
            << QStringList{u"- - - 10.0.0.9"_s};
        const QStringList ab{u"A"_s, u"B"_s};
        const auto row = [&](const char* name, const QString& text, const QString& message) {
            QTest::newRow(name) << text << ab << kNoBase << QStringList{message};
        };
        row("unknown column", u"port,ipaddr\n"_s,
            u"units.csv: line 1: unknown column \"ipaddr\" (expected port, ip, mac, mask, gateway)"_s);
        row("no port column", u"ip\n10.0.0.1\n"_s, u"units.csv: line 1: no \"port\" column"_s);
        row("column twice", u"port,IP,ip\n"_s, u"units.csv: line 1: column \"ip\" appears twice"_s);
        row("short row", u"port,ip\nA\n"_s, u"units.csv: line 2: has 1 fields, the header 2"_s);
        row("bad IP", u"port,ip\nA,10.0.0.300\n"_s,
            u"units.csv: line 2 (A): ip: \"10.0.0.300\" is not an address such as 192.168.1.100"_s);
        row("bad MAC", u"port,mac\nA,02-00-00-00-00-01\n"_s,
            u"units.csv: line 2 (A): mac: \"02-00-00-00-00-01\" is not an address such as 00:08:DC:01:02:03"_s);
        row("empty port", u"port,ip\n,10.0.0.1\n"_s, u"units.csv: line 2: port: is empty"_s);
        row("port twice", u"port\nA\n\nA\n"_s, u"units.csv: line 4 (A): port: has a row already, line 2"_s);
        row("quote not closed", u"port\n\"A\n"_s, u"units.csv: line 2: a quoted field is not closed"_s);
        row("text after a quote", u"port\n\"A\"x\n"_s, u"units.csv: line 2: text after a closing quote"_s);
        row("no header", u"# nothing\n"_s, u"units.csv: is empty; its first line names the columns"_s);
        row("two rows, one IP", u"port,ip\nA,10.0.0.1\nB,10.0.0.1\n"_s,
            u"units.csv: line 3 (B): ip: 10.0.0.1 would go to A as well"_s);
        row("past the last address", u"port,ip\n*,255.255.255.255\n"_s,
            u"units.csv: line 2 (* for B): ip: 255.255.255.255 + 1 runs past the last address"_s);
        QTest::newRow("the * row meets a row's address")
            << u"port,mac\n*,02:00:00:00:00:01\nB,02:00:00:00:00:02\n"_s
            << QStringList{u"A"_s, u"B"_s, u"C"_s} << kNoBase
            << QStringList{u"units.csv: line 2 (* for C): mac: 02:00:00:00:00:02 would go to B as well"_s};
        QTest::newRow("the * row reaches the broadcast address")
            << u"port,ip\n*,10.1.0.254\n"_s << QStringList{u"A"_s, u"B"_s, u"C"_s, u"D"_s} << kProfile
            << QStringList{
                   u"units.csv: line 2 (* for B): ip: 10.1.0.255 is the broadcast address of 10.1.0.0/24"_s};
        row("a unit without a row", u"port,ip\nA,10.0.0.1\n"_s,
            u"units.csv: has no row for B and no * row; give it one, or use --no-network to write no network "
            u"parameters"_s);
        row("a row for a port not in the batch", u"port,ip\nA,10.0.0.1\nB,10.0.0.2\nC,10.0.0.3\n"_s,
            u"units.csv: line 4 (C): port: is not in the batch (A, B)"_s);
        QTest::newRow("the profile's IP for two units")
            << QString() << ab << kProfile
            << QStringList{u"profile.json: network: ip 1.1.1.1 would go to both A and B; give each unit its "
                           u"own in a units file (--units)"_s};
    }

    void assigns() {
        QFETCH(QString, text);
        QFETCH(QStringList, ports);
        QFETCH(NetworkValues, base);
        QFETCH(QStringList, expected);
        const auto values = assign(text, ports, base);
        QStringList actual;
        if (!values.ok())
            actual.append(values.fault().message());
        for (const NetworkValues& unit : values.ok() ? values.value() : std::vector<NetworkValues>())
            actual.append(shown(unit));
        QCOMPARE(actual, expected);
    }

    // A second batch continues after the addresses the first handed out, and never hands one out twice.
    void ledger() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"ledger.csv"_s);
        const NetworkValues a{.mac = config::MacAddress{2, 0, 0, 0, 0, 9},
                              .ip = config::Ipv4Address{10, 0, 0, 5}};
        Ledger first(path);
        QVERIFY(first.open().ok() && first.append({u"A"_s}, {a}).ok());
        Ledger second(path);
        QVERIFY(second.open().ok());
        QCOMPARE(second.taken({u"B"_s}, {a}), u"B: ip 10.0.0.5 was handed out already (%1)"_s.arg(path));
        auto file = UnitsFile::parse(u"port,ip,mac\n*,10.0.0.2,02:00:00:00:00:01\n"_s, u"u.csv"_s).value();
        file.continueAfter(second.lastIp(), second.lastMac());
        QCOMPARE(shown(file.assign({u"B"_s}, kNoBase, {}).value().front()),
                 u"10.0.0.6 02:00:00:00:00:0A - -"_s);
    }

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

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
