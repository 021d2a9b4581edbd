// SPDX-License-Identifier: MIT
// The command line: what each subcommand accepts, into which invocation, and what it refuses with
// which message; --help and --version.
#include "cli/CommandLine.h"
#include "config/Describe.h"

#include <QTest>

using namespace cli;
using namespace Qt::StringLiterals;

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

} // namespace

class TestCommandLine : public QObject {
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
        row("restore -p A", "restore ports=A");
        row("ports", "ports");
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
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
