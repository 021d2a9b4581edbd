// The real serial port over a pseudo-terminal pair: opening, writing, receive pacing, hang-up.
#include "FormHarness.h"
#include "platform/fake/PtyPair.h"
#include "link/PortController.h"
#include "platform/QtSerialControl.h"

#include <QSignalSpy>

using platform::PtyPair;

namespace {
serial::PortChoice choiceFor(const QString& path) {
    serial::PortChoice choice;
    choice.PcPortName = path;
    choice.PcPortBaud = QStringLiteral("9600");
    choice.PcPortParity = QStringLiteral("N");
    choice.PcPortDataBits = 8;
    choice.PcPortStopBits = platform::LineSettings::StopBits::One;
    choice.PcPortChosen = true;
    return choice;
}
} // namespace

class TestPtyLink : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writtenBytesArrive();
    void missingPortDoesNotOpen();
    void quietTimeSplitsBursts_data();
    void quietTimeSplitsBursts();
    void hangUpClosesOnceAndStopsListening();
};

void TestPtyLink::writtenBytesArrive() {
    PtyPair pty;
    QVERIFY(pty.isValid());
    platform::QtSerialControl port;
    serial::PortController link(port);
    QVERIFY(link.open(choiceFor(pty.slavePath())));
    QVERIFY(link.isOpen());
    QVERIFY(link.send(QByteArray::fromHex("4002F123")));
    QCOMPARE(pty.read(4), QByteArray::fromHex("4002F123"));
    link.close();
    QVERIFY(!link.isOpen());
}

void TestPtyLink::missingPortDoesNotOpen() {
    platform::QtSerialControl port;
    serial::PortController link(port);
    QVERIFY(!link.open(choiceFor(QStringLiteral("/dev/does-not-exist-expander"))));
    QVERIFY(!link.isOpen());
    QVERIFY(!link.send(QByteArray::fromHex("40")));
}

void TestPtyLink::quietTimeSplitsBursts_data() {
    QTest::addColumn<int>("gapMs");
    QTest::addColumn<QList<QByteArray>>("expected");
    const QByteArray first = QByteArray::fromHex("401CFB");
    const QByteArray second = QByteArray::fromHex("08030223");
    QTest::newRow("20 ms gap: one reply") << 20 << QList<QByteArray>{first + second};
    QTest::newRow("60 ms gap: two replies") << 60 << QList<QByteArray>{first, second};
}

void TestPtyLink::quietTimeSplitsBursts() {
    QFETCH(int, gapMs);
    QFETCH(QList<QByteArray>, expected);
    PtyPair pty;
    platform::QtSerialControl port;
    serial::PortController link(port);
    QVERIFY(link.open(choiceFor(pty.slavePath())));
    QTest::qWait(80); // the start-up tick has passed
    QList<QByteArray> bursts;
    connect(&link, &serial::PortController::quiet, this, [&] {
        const QByteArray received = link.takeReceived();
        if (!received.isEmpty())
            bursts.append(received);
    });
    QSignalSpy arrivals(&port, &platform::SerialControl::readyRead);
    QVERIFY(pty.write(expected.join().left(3)));
    QVERIFY(arrivals.wait(2000)); // the gap counts from when the program has the first bytes
    testing::spin(gapMs);
    QVERIFY(pty.write(expected.join().mid(3)));
    QTRY_COMPARE_WITH_TIMEOUT(bursts.size(), expected.size(), 2000);
    testing::spin(150); // nothing further comes
    QCOMPARE(bursts, expected);
}

void TestPtyLink::hangUpClosesOnceAndStopsListening() {
    PtyPair pty;
    platform::QtSerialControl port;
    platform::FakePortList ports;
    platform::FakeMessageBoxes messages;
    platform::FakeSingleInstance instance;
    shell::Form1 form({port, ports, messages, instance});
    form.Form_Load();
    form.portChoice() = choiceFor(pty.slavePath());
    form.view().Command2->click();
    QVERIFY(port.isOpen());
    QSignalSpy errors(&port, &platform::SerialControl::errorOccurred);

    pty.hangUp();
    QTRY_VERIFY_WITH_TIMEOUT(!port.isOpen(), 3000);
    QTest::qWait(200);
    const QString lost = QStringLiteral("串口连接已断开,请检查设备和连接线后重新打开串口!");
    QCOMPARE(messages.texts().count(lost), 1);
    QCOMPARE(form.view().Command2->text(), QStringLiteral("打开串口"));
    QVERIFY(!form.view().Command3->isEnabled());
    const qsizetype seen = errors.size();
    QVERIFY2(seen <= 3, qPrintable(QString::number(seen))); // one fault, not a flood
    QTest::qWait(100);
    QCOMPARE(errors.size(), seen);
}

QTEST_MAIN(TestPtyLink)
#include "tst_ptylink.moc"
