// SPDX-License-Identifier: MIT
// The units file: which values each unit of a batch gets, what it refuses with which message, and
// the ledger that carries the * row's count from one batch to the next.
#include "cli/Ledger.h"
#include "cli/UnitsFile.h"
#include "config/Describe.h"

#include <QTemporaryDir>
#include <QTest>

using namespace cli;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(cli::NetworkValues)

namespace {

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

} // namespace

class TestUnitsFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
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
};

QTEST_GUILESS_MAIN(TestUnitsFile)
#include "tst_unitsfile.moc"
