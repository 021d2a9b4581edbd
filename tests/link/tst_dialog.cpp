// SPDX-License-Identifier: MIT
// The communication-port settings dialog on its own: its lists, the selection it hands over, and
// what it keeps from one showing to the next.
#include "FormHarness.h"
#include "link/ui/Dialog.h"

#include <QClipboard>

using testing::find;

namespace {
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

class TestDialog : public QObject {
    Q_OBJECT
private Q_SLOTS:
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

QTEST_MAIN(TestDialog)
#include "tst_dialog.moc"
