#include "SimProcess.h"
#include "platform/SimRegistry.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;
using testing::SimProcess;

namespace {

QByteArray hex(const char* digits) {
    return QByteArray::fromHex(digits);
}

const QByteArray kConnect = hex("4002F123");
const QByteArray kConnected = hex("4002E123");
const QByteArray kPortSync = hex("4002FB23");

// A set-ports frame: every port's record `record`, then the main-port baud code and output switch.
QByteArray portSet(const char* record, const char* mainAndOutput) {
    return hex("401CCD") + hex(record).repeated(8) + hex(mainAndOutput) + hex("23");
}

// The program's side of a main port, through the serial port class the program uses.
struct Client : QSerialPort {
    Client(const QString& path, int baud) : QSerialPort(path) {
        setBaudRate(baud);
        open(QIODevice::ReadWrite);
    }
    void send(const QByteArray& bytes) {
        write(bytes);
        waitForBytesWritten(1000);
    }
    // Sends `request` and reads until `expected` bytes have come, at most 5 s.
    QByteArray ask(const QByteArray& request, qsizetype expected) {
        send(request);
        QByteArray reply = readAll();
        QDeadlineTimer deadline(5000);
        while (reply.size() < expected && waitForReadyRead(int(deadline.remainingTime())))
            reply += readAll();
        return reply;
    }
};

} // namespace

class SimulatorProcessTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path())); }
    void endsAndUnregisters_data();
    void endsAndUnregisters();
    void listensAtItsMainBaudUntilAPowerCycle();
    void runsSeveralDistinctDevices();
    void stuckPortKeepsItsRecord();
    void pacedExchangeTakesItsWireTime_data();
    void pacedExchangeTakesItsWireTime();
    void refusesBadOptions_data();
    void refusesBadOptions();

private:
    SimProcess* start(const QStringList& arguments) {
        m_sim = std::make_unique<SimProcess>(QStringLiteral(SIM_PATH), arguments, m_runtime.path());
        return m_sim.get();
    }
    QTemporaryDir m_runtime;
    std::unique_ptr<SimProcess> m_sim;
};

void SimulatorProcessTest::endsAndUnregisters_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("SIGTERM") << u"term"_s;
    QTest::newRow("SIGINT") << u"int"_s;
    QTest::newRow("--hangup-after 2") << u"hangup"_s;
}

void SimulatorProcessTest::endsAndUnregisters() {
    QFETCH(QString, how);
    SimProcess* sim = start(how == u"hangup"_s ? QStringList{u"--hangup-after"_s, u"2"_s} : QStringList{});
    QVERIFY(sim->started());
    QCOMPARE(sim->deviceCount(), 1);
    QCOMPARE(QFileInfo(sim->registeredPath()).fileName(), u"sim%1"_s.arg(sim->pid()));
    QCOMPARE(QFileInfo(sim->registeredPath()).symLinkTarget(), sim->devicePath());
    QCOMPARE(platform::SimRegistry::ports(), QStringList{sim->registeredPath()});
    QSet<QString> paths{sim->devicePath()};
    for (int port = 1; port <= 8; ++port)
        paths.insert(sim->extensionPort(port));
    QCOMPARE(paths.size(), 9);

    Client client(sim->devicePath(), 9600);
    QCOMPARE(client.ask(kConnect, 4).toHex(), kConnected.toHex());
    if (how == u"term"_s)
        sim->process().terminate();
    else if (how == u"int"_s)
        ::kill(pid_t(sim->pid()), SIGINT);
    else // the second request is answered, then the device hangs up by itself
        QCOMPARE(client.ask(kPortSync, 30).size(), 30);
    QVERIFY(sim->process().waitForFinished(5000));
    QCOMPARE(sim->process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim->process().exitCode(), 0);
    QVERIFY(!QFileInfo(sim->registeredPath()).isSymLink());
}

void SimulatorProcessTest::listensAtItsMainBaudUntilAPowerCycle() {
    SimProcess* sim = start({u"--main-baud"_s, u"19200"_s});
    QVERIFY(sim->started());
    Client client(sim->devicePath(), 9600);
    client.send(kConnect);
    QVERIFY(sim->waitForLog(u"rx 4002F123 4 bytes at 9600 baud, listening at 19200: not understood"_s));
    client.setBaudRate(19200);
    QCOMPARE(client.ask(kConnect, 4).toHex(), kConnected.toHex());
    QCOMPARE(client.ask(kPortSync, 30).mid(27, 1).toHex(), "10"); // the stored main baud, 19200 / 1200

    // What was half received is gone after the power cycle: the rest is junk, not a request.
    client.send(kConnect.left(2));
    QVERIFY(sim->powerCycle());
    QVERIFY(sim->log().contains(u"power cycle: 2 bytes half received and 0 replies unsent dropped, "
                                u"listening at 19200 baud"_s));
    client.send(kConnect.mid(2));
    QCOMPARE(client.ask(kConnect, 4).toHex(), kConnected.toHex());

    // A new main baud is stored at once but heard only after the next power cycle.
    QCOMPARE(client.ask(portSet("080302", "0C01"), 4).toHex(), "4002e223");
    QCOMPARE(client.ask(kConnect, 4).toHex(), kConnected.toHex());
    QVERIFY(sim->powerCycle());
    client.send(kConnect);
    QVERIFY(sim->waitForLog(u"at 19200 baud, listening at 14400: not understood"_s));
    client.setBaudRate(14400); // a rate without its own termios constant
    QCOMPARE(client.ask(kConnect, 4).toHex(), kConnected.toHex());

    // Restoring the defaults brings back 9600, again after a power cycle.
    QCOMPARE(client.ask(hex("4003EDEE23"), 4).toHex(), "4002e423");
    QCOMPARE(client.ask(kConnect, 4).toHex(), kConnected.toHex());
    QVERIFY(sim->powerCycle());
    client.setBaudRate(9600);
    QCOMPARE(client.ask(kConnect, 4).toHex(), kConnected.toHex());
}

void SimulatorProcessTest::runsSeveralDistinctDevices() {
    SimProcess* sim = start({u"--count"_s, u"3"_s});
    QVERIFY(sim->started());
    QCOMPARE(sim->deviceCount(), 3);
    QStringList registered;
    QSet<QString> paths;
    for (int device = 1; device <= 3; ++device) {
        registered.append(sim->registeredPath(device));
        QCOMPARE(QFileInfo(sim->registeredPath(device)).fileName(),
                 u"sim%1-%2"_s.arg(sim->pid()).arg(device));
        paths.insert(sim->devicePath(device));
        for (int port = 1; port <= 8; ++port)
            paths.insert(sim->extensionPort(device, port));
        Client client(sim->devicePath(device), 115200);
        const QByteArray network = client.ask(hex("4002CA23"), 22);
        QCOMPARE(network.mid(3, 6).toHex(), (hex("0008DC0102") + char(2 + device)).toHex());
        QCOMPARE(int(quint8(network.at(12))), 99 + device); // IP 192.168.1.(100 + K - 1)
    }
    QCOMPARE(paths.size(), 27);
    QCOMPARE(platform::SimRegistry::ports(), registered);
    QVERIFY(sim->waitForLog(u"device 2 rx 4002CA23 network read"_s));
}

void SimulatorProcessTest::stuckPortKeepsItsRecord() {
    SimProcess* sim = start({u"--stuck-port"_s, u"3"_s, u"--delay"_s, u"300"_s});
    QVERIFY(sim->started());
    Client client(sim->devicePath(), 115200);
    QCOMPARE(client.ask(portSet("600302", "6000"), 4).toHex(), "4002e223");
    QByteArray expected = portSet("600302", "6000");
    expected.replace(3 + 2 * 3, 3, hex("080302"));
    expected[2] = char(0xFB);
    // A power cycle drops the reply still held back; without --main-baud the device then
    // answers at any speed as before.
    client.send(kPortSync);
    QVERIFY(sim->waitForLog(u"rx 4002FB23 port sync"_s));
    QVERIFY(sim->powerCycle());
    QCOMPARE(client.ask(kConnect, 4).toHex(), kConnected.toHex());
    QCOMPARE(client.ask(kPortSync, 30).toHex(), expected.toHex());
}

void SimulatorProcessTest::pacedExchangeTakesItsWireTime_data() {
    QTest::addColumn<int>("baud");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("replySize");
    QTest::newRow("set ports at 9600: a long request") << 9600 << portSet("080302", "0801") << 4;
    QTest::newRow("port sync at 9600: a long reply") << 9600 << kPortSync << 30;
    QTest::newRow("port sync at 19200") << 19200 << kPortSync << 30;
    QTest::newRow("forward and connect back to back: the connect waits for the line")
        << 9600 << hex("4009DD0101020304050623") + kConnect << 4;
}

// Only a lower bound: how much longer than its floor an exchange takes is the benchmarks' business.
void SimulatorProcessTest::pacedExchangeTakesItsWireTime() {
    QFETCH(int, baud);
    QFETCH(QByteArray, request);
    QFETCH(int, replySize);
    SimProcess* sim = start({u"--pace"_s, u"--quiet"_s});
    QVERIFY(sim->started());
    Client client(sim->devicePath(), baud);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(client.ask(request, replySize).size(), replySize);
    const qint64 floorNs = (request.size() + replySize) * 10 * 1'000'000'000LL / baud;
    QVERIFY2(clock.nsecsElapsed() >= floorNs,
             qPrintable(u"%1 ns < %2 ns"_s.arg(clock.nsecsElapsed()).arg(floorNs)));
}

void SimulatorProcessTest::refusesBadOptions_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("drop every 0") << QStringList{u"--drop-every"_s, u"0"_s} << u"at least 1"_s;
    QTest::newRow("a rate the main port has not")
        << QStringList{u"--main-baud"_s, u"12345"_s} << u"--main-baud needs one of 1200, 2400"_s;
    QTest::newRow("no devices") << QStringList{u"--count"_s, u"0"_s} << u"from 1 to 32"_s;
    QTest::newRow("too many devices") << QStringList{u"--count"_s, u"33"_s} << u"from 1 to 32"_s;
    QTest::newRow("port 9 stuck") << QStringList{u"--stuck-port"_s, u"9"_s} << u"from 1 to 8"_s;
}

void SimulatorProcessTest::refusesBadOptions() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QProcess bad;
    bad.start(QStringLiteral(SIM_PATH), arguments);
    QVERIFY(bad.waitForFinished(5000));
    QCOMPARE(bad.exitCode(), 2);
    QVERIFY(bad.readAllStandardOutput().isEmpty()); // no ports announced
    QVERIFY(QString::fromLocal8Bit(bad.readAllStandardError()).contains(message));
}

QTEST_GUILESS_MAIN(SimulatorProcessTest)
#include "tst_sim_process.moc"
