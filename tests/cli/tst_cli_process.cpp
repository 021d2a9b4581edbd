// SPDX-License-Identifier: MIT
// expander-cli as a process against simulator processes over real pseudo-terminals: the port list
// and a scan, a read with its trace, batches written and verified with their JSON lines and results
// file, the other commands, and bad input and a dry run, which send nothing.
#include "SimProcess.h"
#include "cli/Csv.h"
#include "config/ProfileFile.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using Sim = std::unique_ptr<testing::SimProcess>;

namespace {

const QString kProfile = QStringLiteral(EXAMPLES_DIR "/profile.json");
const QString kUnits = QStringLiteral(EXAMPLES_DIR "/units.csv");

struct Run {
    int code = -1;
    QString out;
    QString err;
};

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestCliProcess : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void scanFindsEachDeviceAtItsBaudThenReads() {
        const Sim devices = sim({u"--count"_s, u"2"_s, u"--main-baud"_s, u"19200"_s});
        QVERIFY(devices);
        const QString a = devices->registeredPath(1);
        const QString b = devices->registeredPath(2);
        const Run ports = cli({u"ports"_s});
        QVERIFY2(ports.out.contains(a + u'\n') && ports.out.contains(b + u'\n'), qPrintable(ports.out));
        const Run scan = cli({u"scan"_s, u"-p"_s, a, u"--port"_s, b});
        const QString first = a + u"  19200  192.168.1.100  00:08:DC:01:02:03\n"_s;
        QCOMPARE(scan.out, first + b + u"  19200  192.168.1.101  00:08:DC:01:02:04\n"_s);
        QCOMPARE(scan.code, 0);
        const QString only = u"--include=%1/*"_s.arg(QFileInfo(a).absolutePath());
        QCOMPARE(cli({u"scan"_s, only, u"--exclude"_s, QFileInfo(b).fileName()}).out, first);
        const Run expect = cli({u"scan"_s, only, u"--expect"_s, u"3"_s});
        QCOMPARE(expect.err, u"expander-cli: found 2 unit(s), expected 3\n"_s);
        QCOMPARE(expect.code, 8);
        const QString none = m_dir.filePath(u"none"_s);
        const Run nothing = cli({u"scan"_s, u"-p"_s, none});
        QCOMPARE(
            nothing.err,
            u"expander-cli: %1: cannot open: not found\nexpander-cli: no expander answered on 1 port(s)\n"_s
                .arg(none));
        QCOMPARE(nothing.code, 6);

        const Run read = cli({u"read"_s, u"-p"_s, a, u"-b"_s, u"19200"_s, u"--trace"_s});
        QCOMPARE(read.code, 0);
        protocol::PortConfiguration factory{.mainBaudCode = 19200 / 1200, .outputSwitch = 0x01};
        factory.ports.fill({0x08, 0x03, 0x02});
        const protocol::NetworkParameters network{
            {0, 8, 0xDC, 1, 2, 3, 192, 168, 1, 100, 255, 255, 255, 0, 192, 168, 1, 1}};
        QCOMPARE(read.out, QString::fromUtf8(config::ProfileFile::toJson(
                               config::Profile::fromConfiguration(factory, network))));
        for (const QString& line :
             {u" - open at 19200 baud\n"_s, u" < 4002E123 connected\n"_s, u" > 4002CA23 read network\n"_s})
            QVERIFY2(read.err.contains(a + line), qPrintable(read.err));
    }

    void batches_data() {
        QTest::addColumn<QList<QStringList>>("simulators");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("results");
        QTest::addColumn<QString>("shown"); // in the JSON lines

        QTest::newRow("verified, each unit its own address")
            << QList<QStringList>{{u"--count"_s, u"2"_s, u"--main-baud"_s, u"19200"_s}}
            << QStringList{u"--units"_s, kUnits} << 0 << QStringList{u"passed"_s, u"passed"_s}
            << u"\"result\":\"passed\",\"message\":null,\"ip\":\"10.0.5.22\",\"mac\":\"00:08:DC:10:00:02\""_s;
        QTest::newRow("a stuck port")
            << QList<QStringList>{{u"--stuck-port"_s, u"3"_s}} << QStringList{} << 1
            << QStringList{u"mismatch"_s}
            << u"\"diff\":[{\"actual\":\"rs232\",\"expected\":\"rs485-half\",\"field\":\"port 3 "
               u"function\"},{\"actual\":\"none\",\"expected\":\"even\",\"field\":\"port 3 parity\"}]"_s;
        QTest::newRow("a port that cannot be opened")
            << QList<QStringList>{{}} << QStringList{u"--units"_s, kUnits, u"-p"_s, u"/dev/expander-none"_s}
            << 6 << QStringList{u"passed"_s, u"cannot-open"_s} << u"\"message\":\"cannot open: not found\""_s;
        QTest::newRow("a unit unplugged mid-batch")
            << QList<QStringList>{{u"--count"_s, u"2"_s}, {u"--hangup-after"_s, u"1"_s}}
            << QStringList{u"--units"_s, kUnits} << 5 << QStringList{u"passed"_s, u"passed"_s, u"port-lost"_s}
            << u"\"message\":\"write ports: the port was lost (device unplugged?)\""_s;
    }

    void batches() {
        QFETCH(QList<QStringList>, simulators);
        QFETCH(QStringList, options);
        QFETCH(int, code);
        QFETCH(QStringList, results);
        QFETCH(QString, shown);
        const QString resultsFile = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + u".csv"_s);
        QStringList arguments{u"write"_s, kProfile, u"--verify"_s, u"--json"_s, u"--results"_s, resultsFile};
        std::vector<Sim> running;
        for (const QStringList& simArguments : simulators) {
            running.push_back(sim(simArguments));
            QVERIFY(running.back());
            for (int k = 1; k <= running.back()->deviceCount(); ++k)
                arguments << u"-p"_s << running.back()->devicePath(k);
        }
        const Run run = cli(arguments + options);
        QCOMPARE(run.code, code);
        QVERIFY2(run.out.contains(shown), qPrintable(run.out));
        QStringList seen;
        for (const QString& line : run.out.split(u'\n', Qt::SkipEmptyParts))
            seen.append(QJsonDocument::fromJson(line.toUtf8()).object().value(u"result").toString());
        // Each line as its unit finishes: a port that cannot be opened is done before any device answers.
        QVERIFY(!results.contains(u"cannot-open"_s) || seen.first() == u"cannot-open"_s);
        QStringList sorted = results;
        sorted.sort();
        seen.sort();
        QCOMPARE(seen, sorted);
        seen = {};
        const auto records = cli::csv::read(QString::fromUtf8(contents(resultsFile)));
        for (const cli::csv::Record& record : records.value())
            seen.append(record.fields.value(4));
        QCOMPARE(seen, QStringList{u"result"_s} + results);
    }

    void otherCommands_data() {
        QTest::addColumn<QStringList>("arguments"); // the port and the baud follow
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("received"); // what the simulator logs
        QTest::newRow("restore") << QStringList{u"restore"_s} << u"  passed"_s << u"rx 4003EDEE23 restore"_s;
        QTest::newRow("network write, one field")
            << QStringList{u"network"_s, u"write"_s, u"--ip"_s, u"10.9.9.9"_s, u"--verify"_s}
            << u"mac=00:08:DC:01:02:03 ip=10.9.9.9 mask=255.255.255.0 gateway=192.168.1.1 verified"_s
            << u"rx 4014CE0008DC0102030A090909FFFFFF00C0A8010123"_s;
        QTest::newRow("forward") << QStringList{u"forward"_s, u"--to"_s, u"2"_s, u"48 69"_s}
                                 << u"2 bytes to port 2"_s << u"rx 4005DD02486923 forward to port 2"_s;
    }

    void otherCommands() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, shown);
        QFETCH(QString, received);
        // A device that hears one speed only: the last bytes before the tool lets go of the port
        // must still go out at that speed.
        const Sim device = sim({u"--main-baud"_s, u"9600"_s});
        QVERIFY(device);
        QSerialPort extension(device->extensionPort(2)); // where a forward to port 2 comes out
        QVERIFY(extension.open(QIODevice::ReadOnly));
        const Run run = cli(arguments + QStringList{u"-p"_s, device->devicePath(), u"-b"_s, u"9600"_s});
        QCOMPARE(run.code, 0);
        QVERIFY2(run.out.contains(shown), qPrintable(run.out));
        QVERIFY(device->waitForLog(received));
        if (arguments.first() == u"forward")
            QVERIFY(extension.waitForReadyRead(5000) && extension.readAll() == "Hi");
    }

    // Bad input is refused before anything goes to a device; a dry run sends nothing either.
    void refusesBadInputSendingNothing() {
        const Sim devices = sim({});
        QVERIFY(devices);
        const QString a = devices->devicePath(1);
        const QString fifo = m_dir.filePath(u"fifo"_s);
        QVERIFY(QProcess::execute(u"mkfifo"_s, {fifo}) == 0 && QFile::link(a, m_dir.filePath(u"a"_s)));
        const QString link = m_dir.filePath(u"a"_s);
        const std::pair<QStringList, QString> refused[] = {
            {{kProfile, u"-p"_s, a, u"-p"_s, link}, a + u" and "_s + link + u" are the same device"_s},
            {{fifo, u"-p"_s, a}, fifo + u": is not a regular file"_s},
            {{kProfile, u"-p"_s, a, u"--results"_s, link}, link + u": is a symbolic link"_s}};
        for (const auto& [arguments, message] : refused) {
            const Run run = cli(QStringList{u"write"_s} + arguments);
            QVERIFY2(run.code == 2 && run.err.contains(message), qPrintable(run.err));
        }
        const Run dry = cli({u"write"_s, kProfile, u"-p"_s, a, u"--dry-run"_s});
        QVERIFY2(dry.code == 0 && dry.out.contains(u"ip=10.0.5.21"_s), qPrintable(dry.out));
        const Run ports = cli({u"write"_s, kProfile, u"-p"_s, a, u"--dry-run"_s, u"--no-network"_s});
        QVERIFY2(ports.code == 0 && !ports.out.contains(u"network"_s), qPrintable(ports.out));
        devices->stop(); // its log is complete once it has ended
        QVERIFY2(!devices->log().contains(u" rx "_s), qPrintable(devices->log()));
    }

private:
    Sim sim(const QStringList& arguments) {
        auto process =
            std::make_unique<testing::SimProcess>(QStringLiteral(SIM_PATH), arguments, m_dir.path());
        return process->started() ? std::move(process) : nullptr;
    }
    Run cli(const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_RUNTIME_DIR"_s, m_dir.path()); // the simulators' registry
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(CLI_PATH), arguments);
        process.waitForFinished(60000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestCliProcess)
#include "tst_cli_process.moc"
