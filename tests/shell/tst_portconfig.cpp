// SPDX-License-Identifier: MIT
// Setting, synchronising and restoring the extension ports from the main window, typed and pasted
// text, and the network dialog: its boxes, and the requests its timers send.
#include "FormHarness.h"
#include "config/ui/Dialog2.h"

#include <QClipboard>

using testing::find;
using testing::FormHarness;
using testing::hex;

namespace {
const QString kAllDefault = u"401CCD"_s + u"080302"_s.repeated(8) + u"600123"_s;

QLineEdit* box(const QWidget* dialog, int index) {
    return find<QLineEdit>(dialog, u"Text1_%1"_s.arg(index));
}

// The main window connected, with the network dialog made by a read reply and shown (not modal,
// so the test keeps the thread; the timers tick the same either way).
struct Connected : FormHarness {
    config::Dialog2* dialog;
    Connected() {
        connectDevice();
        feed(hex("4014CA0008DC010203C0A80101FFFFFF00C0A8010123"));
        serial.writes.clear();
        messages.shown.clear();
        dialog = find<config::Dialog2>(form.get(), "Dialog2");
        dialog->show();
    }
    void press(QAnyStringView name) { find<QPushButton>(dialog, name)->click(); }
    bool active(const char* timer) { return find<QTimer>(form.get(), timer)->isActive(); }
};
} // namespace

class TestPortConfig : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void setSendsThePanels_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("position"); // -1: the text below is typed instead
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("frame"); // empty: refused with the message below
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, const char* list, int position, const QString& text, int byte,
                            const char* digits, const QString& message = {}) {
            const QString frame =
                byte < 0 ? QString() : QString(kAllDefault).replace(2 * byte, 2, QLatin1String(digits));
            QTest::newRow(name) << QString::fromLatin1(list) << position << text << frame << message;
        };
        row("as filled", "Combo6", -1, u"115200"_s, 0, "40");
        row("typed 230400", "Combo2_0", -1, u"230400"_s, 3, "C0");
        row("output forbidden", "Combo8", 1, {}, 28, "00");
        row("empty parity", "Combo5_2", -1, {}, -1, "",
            u"\"串口3\"的校验位为空或无效,请从列表中选择后再设置!"_s);
    }

    void setSendsThePanels() {
        QFETCH(QString, list);
        QFETCH(int, position);
        QFETCH(QString, text);
        QFETCH(QString, frame);
        QFETCH(QString, message);
        FormHarness h;
        h.connectDevice();
        h.messages.shown.clear();
        h.fillAll();
        h.box("Text1")->setPlainText(u"kept"_s);
        h.trace()->setText(u"40"_s);
        h.combo(list)->setCurrentIndex(position);
        if (position < 0)
            h.combo(list)->setEditText(text);
        h.click("Command4");
        QCOMPARE(h.text("Text1"), frame.isEmpty() ? u"kept"_s : frame);
        QCOMPARE(h.trace()->text(), frame.isEmpty() ? u"40"_s : u"00010000"_s);
        QCOMPARE(h.serial.writes, frame.isEmpty() ? QList<QByteArray>() : QList{hex(frame)});
        QCOMPARE(h.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        for (const auto& box : h.messages.shown)
            QVERIFY(box.title == u"注意" && box.icon == platform::MessageBoxes::Icon::Information);
        QCOMPARE(h.combo(list)->currentText(), position < 0 ? text : h.combo(list)->itemText(position));
    }

    void syncedPanelsAreSetBackUnchanged() {
        FormHarness h;
        h.connectDevice();
        h.click("Command6");
        QCOMPARE(h.serial.writes.last(), hex("4002FB23"));
        // Every position of every table somewhere in the reply: each list reads back what it showed.
        const QByteArray payload = hex("010003020C01041D02082E03103F01202B02301A034009016001");
        h.feed(hex("401CFB") + payload + hex("23"));
        h.click("Command4");
        QCOMPARE(h.serial.writes.last(), hex("401CCD") + payload + hex("23"));
    }

    void syncAndRestoreNeedAPort_data() {
        QTest::addColumn<QStringList>("ports");
        QTest::addColumn<bool>("open");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("text1");
        const auto row = [](const char* name, const QStringList& ports, bool open, const char* action,
                            const QString& message, const char* sent, const QString& text1 = u"kept"_s) {
            QTest::newRow(name) << ports << open << QString::fromLatin1(action) << message << hex(sent)
                                << text1;
        };
        const QStringList com3{u"COM3"_s};
        row("sync, no port chosen", {}, false, "Command6", u"请设置串口参数!"_s, "");
        row("sync, closed", com3, false, "Command6", u"请打开串口!"_s, "");
        row("restore, closed", com3, false, "Easer", u"请打开串口!"_s, "");
        row("restore, open", com3, true, "Easer", {}, "4003EDEE23", u"还原所有设置至默认状态!\n"_s);
    }

    void syncAndRestoreNeedAPort() {
        QFETCH(QStringList, ports);
        QFETCH(bool, open);
        QFETCH(QString, action);
        QFETCH(QString, message);
        QFETCH(QByteArray, sent);
        QFETCH(QString, text1);
        FormHarness h(ports);
        h.openPort();
        if (!open)
            h.click("Command2");
        h.button("Command6")->setEnabled(true); // reaches the click whatever the state
        h.messages.shown.clear();
        h.box("Text1")->setPlainText(u"kept"_s);
        if (action == u"Easer")
            h.action(action)->trigger();
        else
            h.click(action);
        QCOMPARE(h.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QVERIFY(message.isEmpty() || h.messages.shown[0].title == u"注意");
        QCOMPARE(h.serial.writes, sent.isEmpty() ? QList<QByteArray>() : QList{sent});
        QCOMPARE(h.text("Text1"), text1);
    }

    void listsKeepWhatIsTyped() {
        FormHarness h;
        QComboBox* baud = h.combo("Combo2_0");
        QTest::keyClicks(baud->lineEdit(), u"3840"_s);
        QCOMPARE(baud->currentText(), u"3840"_s); // never completed to 38400
        QCOMPARE(baud->toolTip(), u"3840"_s);
        QGuiApplication::clipboard()->setText(QString(1 << 20, u'9'));
        baud->lineEdit()->selectAll();
        baud->lineEdit()->paste();
        QCOMPARE(baud->currentText(), QString(64, u'9'));
        // A chosen entry too long for its narrow list shows its start, and the whole text as a tooltip.
        QComboBox* function = h.combo("Combo7_2");
        function->setCurrentIndex(1);
        QCOMPARE(function->lineEdit()->cursorPosition(), 0);
        QCOMPARE(function->toolTip(), u"RS485半双工"_s);
    }

    void boxesTakeOnlyOctets_data() {
        QTest::addColumn<QString>("keys"); // typed over the box's "192", selected
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("after");
        QTest::newRow("256 becomes 0") << u"256"_s << QString() << u"0"_s;
        QTest::newRow("refused key") << u"x"_s << QString() << u"192"_s;
        QTest::newRow("paste filtered") << QString() << u"1"_s + QChar(0) + u"2\t\n3x\uFFFD"_s << u"123"_s;
        QTest::newRow("paste stops at the cap") << QString() << QString(1 << 20, u'0') << QString(16, u'0');
    }

    void boxesTakeOnlyOctets() {
        QFETCH(QString, keys);
        QFETCH(QString, pasted);
        QFETCH(QString, after);
        config::Dialog2 dialog;
        dialog.show();
        QLineEdit* octet = box(&dialog, 3);
        octet->setText(u"192"_s);
        octet->selectAll();
        QTest::keyClicks(octet, keys);
        if (!pasted.isEmpty())
            octet->insert(pasted); // what a paste does
        QCOMPARE(octet->text(), after);
    }

    void opensAtSetAndTabsInItsOrder() {
        config::Dialog2 dialog;
        QStringList order;
        for (QWidget* w = dialog.focusWidget(); w && order.size() < 22; w = w->nextInFocusChain())
            if (w->focusPolicy() & Qt::TabFocus)
                order << w->objectName();
        QStringList boxes;
        for (int i = 0; i < 18; ++i)
            boxes << u"Text1_%1"_s.arg(i);
        QCOMPARE(order.join(u' '), u"OKButton CancelButton "_s + boxes.join(u' ') + u" Command1 Command2"_s);
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape); // no button answers Enter or Esc
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        find<QPushButton>(&dialog, "CancelButton")->click();
        QVERIFY(!dialog.isVisible());
    }

    void networkRequestsTakeTheBoxesAsTheyAreAtTheTick_data() {
        QTest::addColumn<QString>("presses"); // 读取 (Command1) or 设置 (OKButton), twice within one period
        QTest::addColumn<int>("index");       // the box changed after them and before the tick
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("frame"); // empty: nothing sent, the message below shown
        QTest::addColumn<QString>("message");
        const QString range = u"超出设定范围，请重新输入！"_s, set = u"OKButton OKButton"_s;
        const auto row = [](const char* name, const QString& presses, int index, const QString& text,
                            const QString& frame, const QString& message = {}) {
            QTest::newRow(name) << presses << index << text << frame << message;
        };
        row("read", u"Command1 Command1"_s, -1, {}, u"4002CA23"_s);
        row("edited before the tick", set, 9, u"100"_s, u"4014CE0008DC010203C0A80164FFFFFF00C0A8010123"_s);
        row("cleared first", u"Command2 "_s + set, -1, {}, u"4014CE"_s + QString(36, u'0') + u"23"_s); // 清空
        row("empty", set, 7, {}, {}, u"输入不能为空！"_s);
        row("fraction", set, 7, u"12.5"_s, {}, range);
    }

    void networkRequestsTakeTheBoxesAsTheyAreAtTheTick() {
        QFETCH(QString, presses);
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(QString, frame);
        QFETCH(QString, message);
        Connected c;
        c.box("Text3")->setPlainText(u"kept"_s);
        for (const QString& button : presses.split(u' '))
            c.press(button);
        const char* timer = presses.startsWith(u"Command1") ? "Timer3" : "Timer4";
        QVERIFY(c.active(timer) && c.serial.writes.isEmpty()); // nothing is copied at the click
        if (index >= 0) {
            box(c.dialog, index)->setText(text);
            box(c.dialog, 17)
                ->setText(frame.isEmpty() ? QString() : u"1"_s); // a later bad box is not reported
        }
        testing::tick(c.form.get(), timer);
        testing::tick(c.form.get(), timer); // one frame only
        QVERIFY(!c.active(timer) && c.dialog->isVisible());
        QCOMPARE(c.serial.writes, frame.isEmpty() ? QList<QByteArray>() : QList{hex(frame)});
        QCOMPARE(c.text("Text3"), frame.startsWith(u"4014CE") ? frame : u"kept"_s); // the set frame only
        QCOMPARE(c.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        if (!message.isEmpty()) {
            QVERIFY(c.messages.shown[0].title.isEmpty()); // the application title
            QVERIFY(c.messages.shown[0].icon == platform::MessageBoxes::Icon::None);
            QCOMPARE(c.dialog->focusWidget(), box(c.dialog, index));
        }
    }
};

QTEST_MAIN(TestPortConfig)
#include "tst_portconfig.moc"
