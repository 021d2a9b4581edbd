// SPDX-License-Identifier: MIT
// The port choice the settings dialog makes, opening and closing the port with it, the 50 ms quiet
// time, and a port lost under the program (on a real port, the end-to-end tests lose it).
#include "link/PortController.h"
#include "platform/fake/FakeSerialControl.h"

#include <QtTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(platform::SerialFault)

namespace {
// What the controller told, in order: o(pened), c(losed), q(uiet, with the bytes taken), l(ost).
struct Events : QObject {
    QString seen;
    explicit Events(serial::PortController& link) {
        connect(&link, &serial::PortController::opened, this, [this] { seen += u'o'; });
        connect(&link, &serial::PortController::closed, this, [this] { seen += u'c'; });
        connect(&link, &serial::PortController::portLost, this, [this] { seen += u'l'; });
        connect(&link, &serial::PortController::quiet, this,
                [this, &link] { seen += u'q' + QString::fromLatin1(link.takeReceived().toHex()); });
    }
};

void tick(serial::PortController& link) {
    auto* timer = link.findChild<QTimer*>(u"Timer1"_s);
    QVERIFY(timer && timer->interval() == 50 && timer->isSingleShot());
    timer->stop();
    QMetaObject::invokeMethod(timer, "timeout");
}

serial::PortChoice usable(const QString& name) {
    serial::PortChoice choice;
    choice.apply({name, u"9600"_s, u"None"_s, u"8"_s, u"1"_s});
    return choice;
}
} // namespace

class TestPortController : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void choiceOpensThePort_data() {
        QTest::addColumn<QString>("lists"); // port|baud|parity|data bits|stop bits, as the dialog shows them
        QTest::addColumn<QString>("settings"); // the settings string
        QTest::addColumn<QString>("opened");   // name|baud|parity|data bits|stop bits opened with, or empty
        const auto row = [](const char* lists, const char* settings, const char* opened) {
            QTest::newRow(lists) << QString::fromLatin1(lists) << QString::fromLatin1(settings)
                                 << QString::fromLatin1(opened);
        };
        row("COM3|9600|None|8|1", "9600,N,8,1", "COM3|9600|0|8|0");
        row("COM3|9600|Odd|8|1.5", "9600,O,8,1.5", "COM3|9600|1|8|1"); // 1.5 stop bits stay 1.5
        row("COM1|76800|Mark|7|2", "76800,M,7,2", "COM1|76800|3|7|2");
        row("/dev/ttyUSB0|115200|Even|5|1", "115200,E,5,1", "/dev/ttyUSB0|115200|2|5|0");
        row(" COM12 |1200|Space|6|2", "1200,S,6,2", "COM12|1200|4|6|2"); // the name is kept whole
        // A text that cannot be read leaves its value as it was: the defaults applied first.
        row("|fast||x|3", "fast,N,8,1", "");
        row("COM3|9600|None|9|1", "9600,N,9,1", "");
    }

    void choiceOpensThePort() {
        QFETCH(QString, lists);
        QFETCH(QString, settings);
        QFETCH(QString, opened);
        serial::PortChoice choice = usable(u"COM3"_s);
        const QStringList texts = lists.split(u'|');
        choice.apply({texts[0], texts[1], texts[2], texts[3], texts[4]});
        QCOMPARE(choice.settingsString(), settings);
        QVERIFY(!choice.PcPortChosen); // only the dialog's OK confirms
        platform::FakeSerialControl serial;
        serial::PortController link(serial);
        Events events(link);
        QCOMPARE(link.open(choice).ok(), !opened.isEmpty());
        QCOMPARE(link.isOpen(), !opened.isEmpty());
        QStringList seen;
        for (const auto& o : serial.openings)
            seen << u"%1|%2|%3|%4|%5"_s.arg(o.portName)
                        .arg(o.settings.baud)
                        .arg(int(o.settings.parity))
                        .arg(o.settings.dataBits)
                        .arg(int(o.settings.stopBits));
        QCOMPARE(seen.join(u' '), opened);
        link.close();
        link.close(); // a closed port is left alone, and the quiet time is over
        QVERIFY(!link.findChild<QTimer*>(u"Timer1"_s)->isActive());
        QCOMPARE(events.seen, opened.isEmpty() ? QString() : u"oc"_s);
        QCOMPARE(serial.closeCalls, opened.isEmpty() ? 0 : 1);
    }

    void quietTimeJoinsWhatArrivesBeforeIt() {
        platform::FakeSerialControl serial;
        serial::PortController link(serial);
        Events events(link);
        tick(link); // the start-up tick: nothing to take
        link.open(usable(u"COM3"_s));
        serial.feed(QByteArray::fromHex("4002"));
        serial.feed(QByteArray::fromHex("E123")); // restarts the quiet time
        QVERIFY(link.findChild<QTimer*>(u"Timer1"_s)->isActive());
        tick(link);
        serial.feed(QByteArray::fromHex("07"));
        tick(link);
        QCOMPARE(events.seen, u"qoq4002e123q07"_s);
        QVERIFY(link.send(QByteArray::fromHex("4002F123")));
        QCOMPARE(serial.writes, QList{QByteArray::fromHex("4002F123")});
    }

    void lossClosesOnce_data() {
        QTest::addColumn<platform::SerialFault>("error");
        QTest::addColumn<QByteArray>("pending"); // received, quiet time not yet over
        QTest::addColumn<QString>("seen");
        QTest::newRow("read") << platform::SerialFault::Read << QByteArray() << "ocl";
        QTest::newRow("write, a reply pending")
            << platform::SerialFault::Write << QByteArray::fromHex("4002E123") << "oq4002e123cl";
        QTest::newRow("timeout is no loss") << platform::SerialFault::Timeout << QByteArray() << "o";
    }

    void lossClosesOnce() {
        QFETCH(platform::SerialFault, error);
        QFETCH(QByteArray, pending);
        QFETCH(QString, seen);
        platform::FakeSerialControl serial;
        serial::PortController link(serial);
        Events events(link);
        link.open(usable(u"COM3"_s));
        if (!pending.isEmpty())
            serial.feed(pending);
        for (int i = 0; i < 100; ++i) // a vanished device repeats its error
            serial.fail(error);
        QCOMPARE(events.seen, seen);
        QCOMPARE(serial.closeCalls, seen.size() > 1 ? 1 : 0);
        serial.refuseWrite = true; // a write that fails on an open port is a loss as well
        QVERIFY(!link.send(QByteArray::fromHex("40")));
        QVERIFY(!link.isOpen());
    }
};

QTEST_GUILESS_MAIN(TestPortController)
#include "tst_portcontroller.moc"
