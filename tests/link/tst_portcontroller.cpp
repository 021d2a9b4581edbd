// Opening and closing the port, the 50 ms quiet time, and a port lost under the program: on the
// fake serial control, and once on a real pseudo-terminal.
#include "link/PortController.h"
#include "platform/fake/FakeSerialControl.h"

#include <QSignalSpy>
#include <QtTest>

#ifdef Q_OS_UNIX
#include "platform/QtSerialControl.h"
#include "platform/fake/PtyPair.h"
#endif

Q_DECLARE_METATYPE(platform::SerialError)
Q_DECLARE_METATYPE(serial::PortChoice)

namespace {
serial::PortChoice choice(const QString& name, const QString& baud = QStringLiteral("9600"),
                          const QString& parity = QStringLiteral("N")) {
    serial::PortChoice c;
    c.PcPortName = name;
    c.PcPortBaud = baud;
    c.PcPortParity = parity;
    c.PcPortDataBits = 8;
    c.PcPortStopBits = platform::LineSettings::StopBits::Two;
    return c;
}

// What the controller told, in order: o(pened), c(losed), q(uiet, with the bytes taken), l(ost).
struct Events : QObject {
    QStringList seen;
    explicit Events(serial::PortController& link) {
        connect(&link, &serial::PortController::opened, this, [this] { seen << QStringLiteral("o"); });
        connect(&link, &serial::PortController::closed, this, [this] { seen << QStringLiteral("c"); });
        connect(&link, &serial::PortController::portLost, this, [this] { seen << QStringLiteral("l"); });
        connect(&link, &serial::PortController::quiet, this, [this, &link] {
            seen << QStringLiteral("q") + QString::fromLatin1(link.takeReceived().toHex());
        });
    }
};

void tick(serial::PortController& link) {
    auto* timer = link.findChild<QTimer*>(QStringLiteral("Timer1"));
    QVERIFY(timer && timer->interval() == 50 && timer->isSingleShot());
    timer->stop();
    QMetaObject::invokeMethod(timer, "timeout");
}
} // namespace

class TestPortController : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensOnlyAUsableChoice_data();
    void opensOnlyAUsableChoice();
    void quietTimeJoinsWhatArrivesBeforeIt();
    void lossClosesOnce_data();
    void lossClosesOnce();
    void realPortWritesAndHangsUp();
};

void TestPortController::opensOnlyAUsableChoice_data() {
    QTest::addColumn<serial::PortChoice>("choice");
    QTest::addColumn<bool>("opens");
    QTest::newRow("COM3 9600 N 8 2") << choice(QStringLiteral("COM3")) << true;
    QTest::newRow("no port") << choice(QString()) << false;
    QTest::newRow("baud not a number") << choice(QStringLiteral("COM3"), QStringLiteral("fast")) << false;
    QTest::newRow("unknown parity") << choice(QStringLiteral("COM3"), QStringLiteral("9600"),
                                              QStringLiteral("X"))
                                    << false;
}

void TestPortController::opensOnlyAUsableChoice() {
    QFETCH(serial::PortChoice, choice);
    QFETCH(bool, opens);
    platform::FakeSerialControl serial;
    serial::PortController link(serial);
    Events events(link);
    QCOMPARE(link.open(choice).ok(), opens);
    QCOMPARE(link.isOpen(), opens);
    QCOMPARE(serial.openings.size(), opens ? 1 : 0);
    if (opens) {
        platform::LineSettings expected;
        expected.stopBits = platform::LineSettings::StopBits::Two;
        QCOMPARE(serial.openings[0].portName, QStringLiteral("COM3"));
        QCOMPARE(serial.openings[0].settings, expected);
    }
    link.close();
    link.close(); // a closed port is left alone
    QCOMPARE(events.seen.join(QString()), opens ? QStringLiteral("oc") : QString());
    QCOMPARE(serial.closeCalls, opens ? 1 : 0);
}

void TestPortController::quietTimeJoinsWhatArrivesBeforeIt() {
    platform::FakeSerialControl serial;
    serial::PortController link(serial);
    Events events(link);
    tick(link); // the start-up tick: nothing to take
    link.open(choice(QStringLiteral("COM3")));
    serial.feed(QByteArray::fromHex("4002"));
    serial.feed(QByteArray::fromHex("E123")); // restarts the quiet time
    QVERIFY(link.findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
    tick(link);
    serial.feed(QByteArray::fromHex("07"));
    tick(link);
    QCOMPARE(events.seen, (QStringList{QStringLiteral("q"), QStringLiteral("o"), QStringLiteral("q4002e123"),
                                       QStringLiteral("q07")}));
    QVERIFY(link.send(QByteArray::fromHex("4002F123")));
    QCOMPARE(serial.writes, QList{QByteArray::fromHex("4002F123")});
}

void TestPortController::lossClosesOnce_data() {
    QTest::addColumn<platform::SerialError>("error");
    QTest::addColumn<QByteArray>("pending"); // received, quiet time not yet over
    QTest::addColumn<QStringList>("seen");
    const QStringList lost{QStringLiteral("o"), QStringLiteral("c"), QStringLiteral("l")};
    QTest::newRow("resource") << platform::SerialError::Resource << QByteArray() << lost;
    QTest::newRow("read") << platform::SerialError::Read << QByteArray() << lost;
    QTest::newRow("write, a reply pending") << platform::SerialError::Write << QByteArray::fromHex("4002E123")
                                            << QStringList{QStringLiteral("o"), QStringLiteral("q4002e123"),
                                                           QStringLiteral("c"), QStringLiteral("l")};
    QTest::newRow("timeout is no loss")
        << platform::SerialError::Timeout << QByteArray() << QStringList{QStringLiteral("o")};
}

void TestPortController::lossClosesOnce() {
    QFETCH(platform::SerialError, error);
    QFETCH(QByteArray, pending);
    QFETCH(QStringList, seen);
    platform::FakeSerialControl serial;
    serial::PortController link(serial);
    link.open(choice(QStringLiteral("COM3")));
    Events events(link);
    events.seen << QStringLiteral("o");
    if (!pending.isEmpty())
        serial.feed(pending);
    for (int i = 0; i < 100; ++i) // a vanished device repeats its error
        serial.fail(error);
    QCOMPARE(events.seen, seen);
    QCOMPARE(serial.closeCalls, seen.size() > 1 ? 1 : 0);
    // A write that fails on an open port is a loss as well.
    serial.refuseWrite = true;
    QVERIFY(!link.send(QByteArray::fromHex("40")));
    QVERIFY(!link.isOpen());
}

void TestPortController::realPortWritesAndHangsUp() {
#ifdef Q_OS_UNIX
    auto pty = std::make_unique<platform::PtyPair>();
    QVERIFY(pty->isValid());
    platform::QtSerialControl port;
    serial::PortController link(port);
    QSignalSpy lost(&link, &serial::PortController::portLost);
    QVERIFY(link.open(choice(pty->slavePath())));
    QVERIFY(link.send(QByteArray::fromHex("4002F123")));
    QCOMPARE(pty->read(4), QByteArray::fromHex("4002F123"));
    QSignalSpy errors(&port, &platform::SerialControl::errorOccurred);
    pty->hangUp();
    QVERIFY(lost.wait(3000));
    QVERIFY(!link.isOpen());
    QVERIFY2(errors.size() <= 3, qPrintable(QString::number(errors.size()))); // one fault, not a flood
    QCOMPARE(lost.size(), 1);
    pty.reset();
    QCOMPARE(link.open(choice(QStringLiteral("/dev/does-not-exist"))).fault(),
             platform::SerialError::DeviceNotFound);
#else
    QSKIP("no pseudo-terminals here");
#endif
}

QTEST_GUILESS_MAIN(TestPortController)
#include "tst_portcontroller.moc"
