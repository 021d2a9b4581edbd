// A line that floods the program with noise, in one burst or as a trickle that is never quiet:
// every byte is read, in bounded pieces, nothing is taken for a reply, and the port stays open.
#include "CountingSerial.h"
#include "FormHarness.h"
#include "platform/fake/PtyPair.h"

#include <QRandomGenerator>

class TestHostile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void flood_data();
    void flood();
};

void TestHostile::flood_data() {
    QTest::addColumn<int>("piece"); // bytes written at a time, 2 ms apart
    QTest::newRow("one burst") << 100000;
    QTest::newRow("a trickle") << 500;
}

void TestHostile::flood() {
    QFETCH(int, piece);
    platform::PtyPair pty;
    testing::CountingSerial serial;
    platform::FakePortList ports;
    ports.names = {pty.slavePath()};
    platform::FakeMessageBoxes messages;
    platform::FakeSingleInstance instance;
    shell::Form1 form({serial, ports, messages, instance});
    form.Form_Load();
    testing::pressInNextModal(QStringLiteral("Command2"));
    testing::find<QPushButton>(&form, QStringLiteral("Command2"))->click();
    testing::find<QPushButton>(&form, QStringLiteral("Command2"))->click();
    QVERIFY(serial.isOpen());

    QRandomGenerator random(7);
    QByteArray noise(100000, Qt::Uninitialized);
    for (char& b : noise) // never a start byte, so no part of it is a reply
        b = char(0x41 + random.bounded(0xBF));
    for (qsizetype i = 0; i < noise.size(); i += piece) {
        QVERIFY(pty.write(noise.mid(i, piece)));
        testing::spin(2);
    }
    QTRY_COMPARE_WITH_TIMEOUT(serial.taken, noise.size(), 30000);
    QTest::qWait(100);
    QVERIFY(serial.largest <= 4096); // the receive buffer is bounded
    const QString shown = testing::find<QPlainTextEdit>(&form, QStringLiteral("Text1"))->toPlainText();
    QVERIFY(!shown.isEmpty() && noise.toHex().toUpper().endsWith(shown.toLatin1())); // the last reading
    QCOMPARE(messages.shown.size(), 1); // only the request for settings
    QVERIFY(serial.isOpen());
}

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
