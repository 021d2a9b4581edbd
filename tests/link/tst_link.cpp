// SPDX-License-Identifier: MIT
// The port choice and its port: the settings dialog on its own (its lists, the selection it hands
// over, what it keeps from one showing to the next), opening and closing the port with the choice,
// the 50 ms quiet time, and a port lost under the program (on a real port, the end-to-end tests
// lose it).
#include "FormHarness.h"
#include "link/PortController.h"
#include "link/ui/Dialog.h"
#include "platform/fake/FakeSerialControl.h"

#include <QClipboard>
#include <QtTest>

using namespace Qt::StringLiterals;
using testing::find;

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

QComboBox* list(QWidget* dialog, const char* name) {
    return find<QComboBox>(dialog, name);
}
QString items(QComboBox* combo) {
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts.join(u' ');
}

// The settings dialog over a main window. One showing: `act` runs inside it, then the button named
// `press` (or the frame's close); then whether it was accepted and loaded, and what it hands over:
// "11|port|baud|parity|data bits|stop bits".
struct Fixture {
    platform::FakePortList ports;
    QWidget main;
    serial::Dialog dialog{ports, &main};
    explicit Fixture(const QStringList& names) { ports.names = names; }
    QString run(const std::function<void(QDialog*)>& act = {}, const char* press = "Command2") {
        testing::onNextModal([act, press](QDialog* d) {
            if (act)
                act(d);
            if (press)
                find<QPushButton>(d, press)->click();
            else
                d->close();
        });
        const QString answer = u"%1%2"_s.arg(int(dialog.run(&main))).arg(int(dialog.loadedOnLastRun()));
        const serial::PortSelection s = dialog.selection();
        return QStringList{answer, s.portName, s.baud, s.parity, s.dataBits, s.stopBits}.join(u'|');
    }
};

} // namespace

class TestLink : public QObject {
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

    void loadsTheDefaults() {
        Fixture f({u"COM1"_s, u"COM3"_s});
        f.main.setGeometry(100, 80, 700, 500);
        QStringList tabs;
        QPoint place;
        const QString ok = f.run([&](QDialog* d) {
            QCOMPARE(items(list(d, "Combo1")), u"COM1 COM3"_s);
            for (QWidget* w = list(d, "Combo1"); tabs.size() < 7; w = w->nextInFocusChain())
                if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty())
                    tabs << w->objectName();
            place = d->pos();
            QTest::keyClick(d, Qt::Key_Escape); // neither Enter nor Esc answers the dialog
            QTest::keyClick(d, Qt::Key_Return);
            QVERIFY(d->isVisible());
        });
        QCOMPARE(ok, u"11|COM3|9600|None|8|1"_s);
        QCOMPARE(tabs.join(u' '), u"Combo1 Combo3 Combo4 Combo5 Combo2 Command2 Command1"_s);
        QCOMPARE(place, QPoint(100 + (700 - f.dialog.width()) / 2, 80 + (500 - f.dialog.height()) / 2));
        QCOMPARE(f.dialog.windowTitle(), u"串口设置"_s);

        QCOMPARE(Fixture({}).run({}, "Command1"), u"01||9600|None|8|1"_s);
    }

    void keepsSelectionsUntilUnloaded() {
        Fixture f({u"COM1"_s, u"COM3"_s, u"COM5"_s});
        f.run(
            [](QDialog* d) {
                list(d, "Combo1")->setCurrentText(u"COM1"_s);
                list(d, "Combo5")->setCurrentText(u"Even"_s);
            },
            "Command1"); // cancel: hidden only, the selections stay
        f.ports.names = {u"COM1"_s, u"/dev/ttyUSB0"_s};
        QCOMPARE(f.run(), u"10|COM1|9600|Even|8|1"_s);
        f.ports.names = {u"COM2"_s, u"COM4"_s}; // the chosen one has gone: the last, as at loading
        QCOMPARE(f.run(), u"10|COM4|9600|Even|8|1"_s);
        f.run([](QDialog* d) { list(d, "Combo3")->setCurrentText(u"7"_s); }, nullptr); // the frame's close
        QCOMPARE(f.run({}, "Command1"), u"01|COM4|9600|None|8|1"_s); // unloaded: the defaults again
    }

    void portNameIsKeptAsTyped() {
        Fixture f({u"/dev/ttyUSB0"_s, u"COM1"_s});
        const QString typed = f.run([](QDialog* d) {
            list(d, "Combo1")->lineEdit()->clear();
            QTest::keyClicks(list(d, "Combo1")->lineEdit(),
                             u"/dev/tty"_s); // never completed to a listed port
        });
        QCOMPARE(typed.section(u'|', 1, 1), u"/dev/tty"_s);
        const QString again = f.run([](QDialog* d) {
            QCOMPARE(list(d, "Combo1")->currentText(), u"/dev/tty"_s); // survives a new showing
            QGuiApplication::clipboard()->setText(QString(1 << 20, u'x'));
            list(d, "Combo1")->lineEdit()->selectAll();
            list(d, "Combo1")->lineEdit()->paste();
        });
        QCOMPARE(again.section(u'|', 1, 1), QString(255, u'x'));
    }

    void portListFollowsThePorts() {
        Fixture f({u"COM1"_s, u"COM3"_s});
        f.run([&f](QDialog* d) {
            auto* poll = find<QTimer>(d, "portPoll");
            QVERIFY(poll->isActive() && poll->interval() <= 1000);
            const auto reread = [poll] { QMetaObject::invokeMethod(poll, "timeout"); };
            QComboBox* ports = list(d, "Combo1");
            ports->setEditText(u"/dev/ttyUSB"_s);
            f.ports.names = {u"COM1"_s, u"/dev/ttyUSB0"_s, u"COM3"_s}; // an adapter plugged in
            f.ports.descriptions = {u"Communications Port"_s, u"USB-SERIAL CH340"_s};
            reread();
            QCOMPARE(items(ports), u"COM1 /dev/ttyUSB0 COM3"_s);
            QCOMPARE(ports->currentText(), u"/dev/ttyUSB"_s); // what is typed stays
            QCOMPARE(ports->model()->index(1, 1).data().toString(), u"USB-SERIAL CH340"_s);
            ports->setCurrentIndex(0);
            QCOMPARE(ports->toolTip(), u"Communications Port"_s);
            ports->setCurrentIndex(1);
            QCOMPARE(ports->toolTip(), u"USB-SERIAL CH340"_s);
            f.ports.names = {u"COM1"_s, u"COM3"_s}; // pulled out: the choice stays, to come back
            reread();
            QCOMPARE(items(ports) + u'|' + ports->currentText(), u"COM1 COM3|/dev/ttyUSB0"_s);
            f.ports.names = {u"COM1"_s, u"COM3"_s, u"/dev/ttyUSB0"_s};
            reread();
            QCOMPARE(ports->currentIndex(), 2);
        });
        QVERIFY(!find<QTimer>(&f.dialog, "portPoll")->isActive()); // read only while shown
        QCOMPARE(f.dialog.selection().portName, u"/dev/ttyUSB0"_s);
    }
};

QTEST_MAIN(TestLink)
#include "tst_link.moc"
