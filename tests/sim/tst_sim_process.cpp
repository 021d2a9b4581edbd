// SPDX-License-Identifier: MIT
#include "SimProcess.h"
#include "platform/SimRegistry.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using testing::SimProcess;

namespace {

QByteArray hex(const char* digits) {
    return QByteArray::fromHex(digits);
}

const QByteArray kConnect = hex("4002F123");
const QByteArray kConnected = hex("4002E123");

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
    // Sends `request` and reads until `expected` bytes have come, at most 5 s.
    QByteArray ask(const QByteArray& request, qsizetype expected = 0) {
        write(request);
        waitForBytesWritten(1000);
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

    // Two devices, each with its own registration, until their own hang-up ends the simulator, which
    // then leaves no registration behind.
    void servesEachDeviceUntilItEnds() {
        SimProcess* sim = start({u"--count"_s, u"2"_s, u"--hangup-after"_s, u"1"_s});
        QVERIFY(sim->started());
        QCOMPARE(sim->deviceCount(), 2);
        const QStringList registered{sim->registeredPath(1), sim->registeredPath(2)};
        QCOMPARE(platform::SimRegistry::ports(), registered);
        for (int device = 1; device <= 2; ++device) {
            QCOMPARE(QFileInfo(registered[device - 1]).symLinkTarget(), sim->devicePath(device));
            // Its own MAC and IP are the CLI's scan to show; here the request its hang-up follows.
            Client(sim->devicePath(device), 115200).ask(hex("4002CA23"), 22);
        }
        QVERIFY(sim->process().waitForFinished(5000));
        QCOMPARE(sim->process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim->process().exitCode(), 0);
        QVERIFY(!QFileInfo(registered[0]).isSymLink() && !QFileInfo(registered[1]).isSymLink());
    }

    void listensAtItsMainBaudUntilAPowerCycle() {
        SimProcess* sim = start({u"--main-baud"_s, u"19200"_s});
        QVERIFY(sim->started());
        Client client(sim->devicePath(), 19200);
        // What was half received is gone after the power cycle: the rest is junk, not a request.
        client.ask(kConnect.left(2));
        QVERIFY(sim->powerCycle());
        QVERIFY(sim->log().contains(u"power cycle: 2 bytes half received and 0 replies unsent dropped, "
                                    u"listening at 19200 baud"_s));
        client.ask(kConnect.mid(2));
        QCOMPARE(client.ask(kConnect, 4).toHex(), kConnected.toHex());

        // A new main baud is stored at once but heard only after the next power cycle.
        QCOMPARE(client.ask(portSet("080302", "0C01"), 4).toHex(), "4002e223");
        QCOMPARE(client.ask(kConnect, 4).toHex(), kConnected.toHex());
        QVERIFY(sim->powerCycle());
        client.ask(kConnect);
        QVERIFY(sim->waitForLog(u"at 19200 baud, listening at 14400: not understood"_s));
        client.setBaudRate(14400); // a rate without its own termios constant
        QCOMPARE(client.ask(kConnect, 4).toHex(), kConnected.toHex());
    }

private:
    SimProcess* start(const QStringList& arguments) {
        m_sim = std::make_unique<SimProcess>(QStringLiteral(SIM_PATH), arguments, m_runtime.path());
        return m_sim.get();
    }
    QTemporaryDir m_runtime;
    std::unique_ptr<SimProcess> m_sim;
};

QTEST_GUILESS_MAIN(SimulatorProcessTest)
#include "tst_sim_process.moc"
