// The communication-port settings dialog on its own: its lists, the selection it hands over, and
// what it keeps from one showing to the next.
#include "FormHarness.h"
#include "link/ui/Dialog.h"

#include <QClipboard>

using testing::find;

namespace {
QComboBox* list(QWidget* dialog, const char* name) {
    return find<QComboBox>(dialog, QLatin1String(name));
}
QStringList shown(const serial::PortSelection& s) {
    return {s.portName, s.baud, s.parity, s.dataBits, s.stopBits};
}
QStringList items(QComboBox* combo) {
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

// Shows the dialog once: `act` runs inside it, then the button named `press` (or the frame's close).
struct Run {
    bool accepted = false;
    bool loaded = false;
    serial::PortSelection selection;
    Run(serial::Dialog& dialog, QWidget& main, std::function<void(QDialog*)> act, const char* press) {
        testing::onNextModal([act, press](QDialog* d) {
            act(d);
            if (press)
                find<QPushButton>(d, QLatin1String(press))->click();
            else
                d->close();
        });
        accepted = dialog.run(&main);
        loaded = dialog.loadedOnLastRun();
        selection = dialog.selection();
    }
};
} // namespace

class TestDialog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadsTheDefaults();
    void keepsSelectionsAndSeesNewPorts();
    void framesCloseUnloads();
    void portNameIsKeptAsTyped();
};

void TestDialog::loadsTheDefaults() {
    platform::FakePortList ports;
    ports.names = {QStringLiteral("COM1"), QStringLiteral("COM3")};
    QWidget main;
    main.setGeometry(100, 80, 700, 500);
    serial::Dialog dialog(ports, &main);
    QStringList tabs;
    QPoint place;
    const Run ok(
        dialog, main,
        [&](QDialog* d) {
            QCOMPARE(items(list(d, "Combo1")), ports.names);
            QCOMPARE(items(list(d, "Combo2")).join(u' '),
                     QStringLiteral("1200 2400 4800 9600 14400 19200 38400 56000 57600 76800 115200"));
            QCOMPARE(items(list(d, "Combo3")).join(u' '), QStringLiteral("5 6 7 8"));
            QCOMPARE(items(list(d, "Combo4")).join(u' '), QStringLiteral("1 1.5 2"));
            QCOMPARE(items(list(d, "Combo5")).join(u' '), QStringLiteral("None Odd Even Mark Space"));
            for (QWidget* w = list(d, "Combo1"); tabs.size() < 7; w = w->nextInFocusChain())
                if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty())
                    tabs << w->objectName();
            place = d->pos();
            QTest::keyClick(d, Qt::Key_Escape); // neither Enter nor Esc answers the dialog
            QTest::keyClick(d, Qt::Key_Return);
            QVERIFY(d->isVisible());
        },
        "Command2");
    QVERIFY(ok.accepted && ok.loaded);
    QCOMPARE(shown(ok.selection), QStringLiteral("COM3 9600 None 8 1").split(u' '));
    QCOMPARE(tabs, QStringLiteral("Combo1 Combo3 Combo4 Combo5 Combo2 Command2 Command1").split(u' '));
    QCOMPARE(place, QPoint(100 + (700 - dialog.width()) / 2, 80 + (500 - dialog.height()) / 2));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("串口设置"));

    ports.names.clear();
    serial::Dialog empty(ports, &main);
    const Run none(
        empty, main, [](QDialog*) {}, "Command1");
    QVERIFY(!none.accepted && none.loaded);
    QCOMPARE(shown(none.selection), QStringLiteral(" 9600 None 8 1").split(u' '));
}

void TestDialog::keepsSelectionsAndSeesNewPorts() {
    platform::FakePortList ports;
    ports.names = {QStringLiteral("COM1"), QStringLiteral("COM3"), QStringLiteral("COM5")};
    QWidget main;
    serial::Dialog dialog(ports, &main);
    Run(
        dialog, main,
        [](QDialog* d) {
            list(d, "Combo1")->setCurrentText(QStringLiteral("COM1"));
            list(d, "Combo5")->setCurrentText(QStringLiteral("Even"));
        },
        "Command1"); // cancel: hidden only, the selections stay
    ports.names = {QStringLiteral("COM1"), QStringLiteral("/dev/ttyUSB0")};
    const Run second(
        dialog, main, [](QDialog*) {}, "Command2");
    QVERIFY(second.accepted && !second.loaded);
    QCOMPARE(shown(second.selection), QStringLiteral("COM1 9600 Even 8 1").split(u' '));
    ports.names = {QStringLiteral("COM2"), QStringLiteral("COM4")}; // the chosen one has gone
    const Run third(
        dialog, main, [](QDialog* d) { QCOMPARE(list(d, "Combo1")->count(), 2); }, "Command2");
    QCOMPARE(third.selection.portName, QStringLiteral("COM4")); // the last, as at loading
}

void TestDialog::framesCloseUnloads() {
    platform::FakePortList ports;
    ports.names = {QStringLiteral("COM1")};
    QWidget main;
    serial::Dialog dialog(ports, &main);
    Run(
        dialog, main, [](QDialog* d) { list(d, "Combo3")->setCurrentText(QStringLiteral("7")); }, nullptr);
    const Run next(
        dialog, main, [](QDialog*) {}, "Command1");
    QVERIFY(next.loaded);
    QCOMPARE(next.selection.dataBits, QStringLiteral("8"));
}

void TestDialog::portNameIsKeptAsTyped() {
    platform::FakePortList ports;
    ports.names = {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("COM1")};
    QWidget main;
    serial::Dialog dialog(ports, &main);
    const Run typed(
        dialog, main,
        [](QDialog* d) {
            QLineEdit* edit = list(d, "Combo1")->lineEdit();
            edit->clear();
            QTest::keyClicks(edit, QStringLiteral("/dev/tty")); // never completed to a listed port
        },
        "Command2");
    QCOMPARE(typed.selection.portName, QStringLiteral("/dev/tty"));
    const Run again(
        dialog, main,
        [](QDialog* d) {
            QCOMPARE(list(d, "Combo1")->currentText(), QStringLiteral("/dev/tty")); // survives a new showing
            QGuiApplication::clipboard()->setText(QString(1 << 20, QLatin1Char('x')));
            list(d, "Combo1")->lineEdit()->selectAll();
            list(d, "Combo1")->lineEdit()->paste();
        },
        "Command2");
    QCOMPARE(again.selection.portName, QString(255, QLatin1Char('x')));
}

QTEST_MAIN(TestDialog)
#include "tst_dialog.moc"
