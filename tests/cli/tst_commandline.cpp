// The command line: what each subcommand accepts, into which invocation, and what it refuses with
// which message; --help and --version.
#include "cli/CommandLine.h"

#include <QTest>

using namespace cli;
using namespace Qt::StringLiterals;
using Command = Invocation::Command;

Q_DECLARE_METATYPE(cli::Invocation)

class TestCommandLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parses_data();
    void parses();
    void refuses_data();
    void refuses();
    void helpAndVersion();
};

void TestCommandLine::parses_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Invocation>("expected");

    const Invocation write{.command = Command::Write,
                           .ports = {u"A"_s, u"B"_s},
                           .bauds = {19200, 9600},
                           .json = true,
                           .trace = true,
                           .verify = true,
                           .profilePath = u"p.json"_s,
                           .unitsPath = u"u.csv"_s,
                           .resultsPath = u"r.csv"_s};
    QTest::newRow("write, every option")
        << QStringList{u"write"_s,   u"p.json"_s, u"-p"_s,     u"A"_s,         u"--port=B"_s, u"-b"_s,
                       u"19200"_s,   u"--baud"_s, u"9600"_s,   u"--baud"_s,    u"19200"_s,    u"--verify"_s,
                       u"--units"_s, u"u.csv"_s,  u"--json"_s, u"--results"_s, u"r.csv"_s,    u"--trace"_s}
        << write;
    const Invocation unitsOnly{
        .command = Command::Write, .profilePath = u"p.json"_s, .unitsPath = u"u.csv"_s};
    QTest::newRow("write, the units file names the ports")
        << QStringList{u"write"_s, u"--units"_s, u"u.csv"_s, u"p.json"_s} << unitsOnly;
    QTest::newRow("scan, every port") << QStringList{u"scan"_s} << Invocation{.command = Command::Scan};
    const Invocation restore{.command = Command::Restore, .ports = {u"/dev/ttyUSB0"_s}};
    QTest::newRow("restore, short option joined")
        << QStringList{u"restore"_s, u"-p/dev/ttyUSB0"_s} << restore;
    const Invocation network{
        .command = Command::NetworkWrite,
        .allPorts = true,
        .network = {.ip = config::Ipv4Address{10, 0, 0, 5}, .mask = config::Ipv4Address{255, 255, 0, 0}}};
    QTest::newRow("network write, some fields")
        << QStringList{u"network"_s,  u"write"_s,  u"--all"_s,      u"--ip"_s,
                       u"10.0.0.5"_s, u"--mask"_s, u"255.255.0.0"_s}
        << network;
    const Invocation forward{.command = Command::Forward,
                             .ports = {u"A"_s},
                             .forwardPort = 8,
                             .forwardData = QByteArray::fromHex("48656C")};
    QTest::newRow("forward, hex in pieces")
        << QStringList{u"forward"_s, u"-p"_s, u"A"_s, u"--to"_s, u"8"_s, u"--"_s, u"48 65"_s, u"6c"_s}
        << forward;
}

void TestCommandLine::parses() {
    QFETCH(QStringList, arguments);
    QFETCH(Invocation, expected);
    const auto parsed = CommandLine::parse(arguments);
    QVERIFY2(parsed.ok(), parsed.ok() ? "" : qPrintable(parsed.fault().text));
    QCOMPARE(parsed.value(), expected);
}

void TestCommandLine::refuses_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    const auto row = [](const char* name, const QStringList& arguments, const QString& message) {
        QTest::newRow(name) << arguments << message;
    };
    row("nothing", {}, u"expander-cli: no command given"_s);
    row("unknown command", {u"frob"_s}, u"expander-cli: unknown command \"frob\""_s);
    row("network alone", {u"network"_s, u"-p"_s}, u"expander-cli: network needs read or write"_s);
    row("option of another command", {u"read"_s, u"-p"_s, u"A"_s, u"--verify"_s},
        u"expander-cli read: Unknown option 'verify'."_s);
    row("no port", {u"read"_s}, u"expander-cli read: no port given: use --port P or --all"_s);
    row("port twice", {u"restore"_s, u"-p"_s, u"A"_s, u"-p"_s, u"A"_s},
        u"expander-cli restore: --port A is given twice"_s);
    row("all and port", {u"read"_s, u"-a"_s, u"-p"_s, u"A"_s},
        u"expander-cli read: --all and --port exclude each other"_s);
    row("baud off the list", {u"read"_s, u"-p"_s, u"A"_s, u"-b"_s, u"9601"_s},
        u"expander-cli read: --baud 9601 is not a main-port baud rate "
        u"(1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600, 76800, 115200)"_s);
    row("no profile", {u"write"_s, u"-p"_s, u"A"_s}, u"expander-cli write: no profile given"_s);
    row("two profiles", {u"write"_s, u"a"_s, u"b"_s, u"-p"_s, u"A"_s},
        u"expander-cli write: one profile only, not \"a b\""_s);
    row("network write, no value", {u"network"_s, u"write"_s, u"-p"_s, u"A"_s},
        u"expander-cli network write: nothing to write: give --ip, --mac, --mask, --gateway or --units"_s);
    row("bad IP", {u"network"_s, u"write"_s, u"-p"_s, u"A"_s, u"--ip"_s, u"10.0.0.256"_s},
        u"expander-cli network write: --ip \"10.0.0.256\" is not an address such as 192.168.1.100"_s);
    row("bad MAC", {u"network"_s, u"write"_s, u"-p"_s, u"A"_s, u"--mac"_s, u"00:08:DC:01:02"_s},
        u"expander-cli network write: --mac \"00:08:DC:01:02\" is not an address such as 00:08:DC:01:02:03"_s);
    row("forward without --to", {u"forward"_s, u"-p"_s, u"A"_s, u"FF"_s},
        u"expander-cli forward: --to N is needed: the extension port, 1 to 8"_s);
    row("forward to port 9", {u"forward"_s, u"-p"_s, u"A"_s, u"--to"_s, u"9"_s, u"FF"_s},
        u"expander-cli forward: --to 9 is not an extension port, 1 to 8"_s);
    row("odd hex", {u"forward"_s, u"-p"_s, u"A"_s, u"--to"_s, u"2"_s, u"FF"_s, u"F"_s},
        u"expander-cli forward: HEXBYTES: \"FF F\" has an odd number of digits"_s);
    row("not hex", {u"forward"_s, u"-p"_s, u"A"_s, u"--to"_s, u"2"_s, u"4G"_s},
        u"expander-cli forward: HEXBYTES: \"4G\" holds G, which is not a hex digit"_s);
    row("no bytes", {u"forward"_s, u"-p"_s, u"A"_s, u"--to"_s, u"2"_s},
        u"expander-cli forward: HEXBYTES: no bytes to forward"_s);
    row("too many bytes", {u"forward"_s, u"-p"_s, u"A"_s, u"--to"_s, u"2"_s, QString(506, u'0')},
        u"expander-cli forward: HEXBYTES: 253 bytes, one frame carries at most 252"_s);
    row("operand too many", {u"scan"_s, u"extra"_s}, u"expander-cli scan: unexpected \"extra\""_s);
}

void TestCommandLine::refuses() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const auto parsed = CommandLine::parse(arguments);
    QVERIFY(!parsed.ok());
    QCOMPARE(parsed.fault().code, ExitCode::BadInput);
    QCOMPARE(parsed.fault().text.section(u'\n', 0, 0), message);
    QVERIFY(parsed.fault().text.endsWith(u" --help'.\n"_s));
}

void TestCommandLine::helpAndVersion() {
    const Stop help = CommandLine::parse({u"write"_s, u"-h"_s}).fault();
    QCOMPARE(help.code, ExitCode::Passed);
    QVERIFY(help.text.startsWith(u"Usage: expander-cli write PROFILE [options]\n"_s));
    QVERIFY(help.text.contains(
        u"      --verify        Read back what was written and compare it field by field.\n"_s));
    QVERIFY(help.text.endsWith(CommandLine::exitStatus()));
    QCOMPARE(CommandLine::parse({u"--help"_s}).fault(), (Stop{ExitCode::Passed, CommandLine::help()}));
    QCOMPARE(CommandLine::parse({u"--version"_s}).fault(),
             (Stop{ExitCode::Passed, u"expander-cli 1.0.0\n"_s}));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
