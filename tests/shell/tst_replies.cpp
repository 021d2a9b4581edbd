// SPDX-License-Identifier: MIT
// The reply processor as the operator sees it (the echo, the messages, and what each reply changes),
// and the command console: building, showing and sending forward frames, and its failure rules.
#include "FormHarness.h"
#include "config/ui/Dialog2.h"

#include <QClipboard>

using testing::FormHarness;
using testing::hex;

namespace {
const QString kConnected = u"连接成功!"_s;
const QString kSetDone = u"设置扩展串口数据成功!请重启设备应用新的通迅波特率!"_s;
const QString kSynced = u"扩展串口数据同步成功!"_s;

// A port-sync reply: port 1 as given, then seven ports at 10 0B 01 (19200, odd parity, 1 stop
// bit, 8 data bits, RS485 full duplex); main port 08 (9600), output switch 00 (禁止).
QByteArray syncReply(const char* firstRecord) {
    return hex("401CFB") + hex(firstRecord) + hex("100B01").repeated(7) + hex("080023");
}
} // namespace

class TestReplies : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void echoAndMessages_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("trace");
        QTest::addColumn<QString>("text1"); // when not the bytes' echo
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("connected");
        const auto row = [](const char* name, const QByteArray& bytes, const char* trace,
                            const QStringList& messages, bool connected, const QString& text1 = {}) {
            QTest::newRow(name) << bytes << QString::fromLatin1(trace) << text1 << messages << connected;
        };
        row("connect", hex("4002E123"), "40", {kConnected}, true);
        row("port set", hex("4002E223"), "40", {kSetDone}, false);
        row("restore: a notice after the trace", hex("4002E423"), "40", {}, false,
            u"trace\n还原设置成功,请重新上电初始化所有参数,此过程将耗时数秒钟!\n"_s);
        row("bad end", hex("4002E124"), "40", {}, false);
        row("single byte", hex("07"), "07", {}, false);
        row("two replies", hex("4002E1234002E223"), "40", {kConnected, kSetDone}, true);
        row("garbage after a frame", hex("4002E123FF0040"), "FF", {kConnected}, true);
        row("256 in a burst: one box", hex("4002E123").repeated(256), "40", {kConnected}, true);
    }

    void echoAndMessages() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, trace);
        QFETCH(QString, text1);
        QFETCH(QStringList, messages);
        QFETCH(bool, connected);
        FormHarness h;
        h.openPort();
        h.messages.shown.clear();
        h.trace()->setText(u"trace"_s);
        QStringList enabledAtBox;
        h.messages.whileShown = [&](const auto&) { enabledAtBox << h.deviceButtons(); };
        h.feed(bytes);
        QCOMPARE(h.text("Text1"), text1.isEmpty() ? QString::fromLatin1(bytes.toHex().toUpper()) : text1);
        QCOMPARE(h.trace()->text(), trace);
        QCOMPARE(h.messages.texts(), messages);
        for (const auto& box : h.messages.shown)
            QVERIFY(box.title == u"恭喜" && box.icon == platform::MessageBoxes::Icon::Information);
        QCOMPARE(h.deviceButtons(), connected ? u"1111"_s : u"1000"_s);
        QCOMPARE(h.action("netset")->isEnabled(), connected);
        if (connected) // the buttons unlock once the operator has closed the box
            QCOMPARE(enabledAtBox.first(), u"1000"_s);
    }

    void repliesFillTheControls_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown"); // port 1, port 8, the main port, then the network dialog's boxes
        QTest::addColumn<int>("boxes");
        const QString port8 = u" 19200 8 1 奇校验 RS485全双工 9600 禁止"_s, sevens = u" 7"_s.repeated(18),
                      before = u"4800 7 2 偶校验 RS485半双工"_s,
                      untouched = before + u' ' + before + u" 1200 允许"_s;
        QTest::newRow("every list") << syncReply("600302") << u"115200 8 1 无 RS232"_s + port8 + sevens << 1;
        // Baud 05 and function 07 are in no table, nor parity code 2 (line byte 13): those lists stay.
        QTest::newRow("unknown codes")
            << syncReply("051307") << u"4800 8 1 偶校验 RS485半双工"_s + port8 + sevens << 1;
        QTest::newRow("network, whole")
            << hex("4014CA0008DC010203C0A80164FFFFFF00C0A8010123")
            << untouched + u" 0 8 220 1 2 3 192 168 1 100 255 255 255 0 192 168 1 1"_s << 0;
    }

    void repliesFillTheControls() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        QFETCH(int, boxes);
        FormHarness h;
        h.openPort();
        h.feed(hex("4014CA") + QByteArray(18, 7) + hex("23"));
        h.messages.shown.clear();
        const QList<QComboBox*> lists = h.panel(0) + h.panel(7) + QList{h.combo("Combo6"), h.combo("Combo8")};
        h.setPanel(0, u"4800 7 2 偶校验 RS485半双工"_s);
        h.setPanel(7, u"4800 7 2 偶校验 RS485半双工"_s);
        h.combo("Combo6")->setCurrentIndex(0);
        h.combo("Combo8")->setCurrentIndex(0);
        h.feed(bytes);
        QStringList texts;
        for (QComboBox* list : lists)
            texts << list->currentText();
        auto* dialog = testing::find<config::Dialog2>(h.form.get(), "Dialog2");
        QVERIFY(!dialog->isVisible()); // made for the values, never shown
        const config::OctetTexts octets = dialog->octetTexts();
        QCOMPARE((texts + QStringList(octets.begin(), octets.end())).join(u' '), shown);
        QCOMPARE(h.messages.texts(), QStringList(boxes, kSynced));
    }

    void networkSetHidesTheDialogAfterItsBox() {
        FormHarness h;
        h.connectDevice();
        h.trace()->setText(u"4014CE"_s);
        QString text1AtBox;
        bool visibleAtBox = false;
        h.messages.whileShown = [&](const auto&) {
            text1AtBox = h.text("Text1");
            visibleAtBox = h.form->findChild<config::Dialog2*>()->isVisible();
        };
        testing::onNextModal([&h](QDialog*) { h.feed(hex("4002E523")); });
        h.action("netset")->trigger(); // returns when the reply has hidden the dialog
        QCOMPARE(text1AtBox, u"4014CE\n"_s);
        QVERIFY(visibleAtBox);
        QCOMPARE(h.messages.texts().last(), u"网络参数设置成功,请重新上电初始化网络参数!"_s);
        QVERIFY(!h.form->findChild<config::Dialog2*>()->isVisible());
    }

    void aBoxStillOpenIsNotOpenedAgain() {
        FormHarness h;
        h.openPort();
        h.messages.shown.clear();
        // While the first box waits, the device confirms again (and once more, differently).
        h.messages.whileShown = [&h](const auto&) {
            h.messages.whileShown = nullptr;
            h.feed(hex("4002E123"));
            h.feed(hex("4002E223"));
        };
        h.feed(hex("4002E123"));
        QCOMPARE(h.messages.texts(), (QStringList{kConnected, kSetDone}));
        QCOMPARE(h.text("Text1"), u"4002E223"_s); // the later replies still show
        QCOMPARE(h.deviceButtons(), u"1111"_s);
    }

    void sendAndGenerate_data() {
        QTest::addColumn<QString>("button"); // 发送 (Command1) or 生成 (Command8)
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("frame"); // shown, kept as the trace and, on 发送, sent
        QTest::addColumn<QString>("message");
        const QString empty = u"命令为空!"_s, illegal = u"命令中含有非法字符!"_s;
        const auto row = [](const char* name, const char* button, const QString& command, int port,
                            const QString& frame, const QString& message = {}) {
            QTest::newRow(name) << QString::fromLatin1(button) << command << port << frame << message;
        };
        row("spaced bytes to port 2", "Command1", u"01 02 03"_s, 2, u"4006DD0201020323"_s);
        row("generate", "Command8", u"12"_s, 1, u"4004DD011223"_s);
        row("send, empty: kept", "Command1", {}, 1, u"earlier"_s, empty);
        row("generate, empty: cleared", "Command8", {}, 1, {}, empty);
        row("send, x: kept", "Command1", u"0x12"_s, 1, u"earlier"_s, illegal);
        row("generate, no-break space", "Command8", u"01\u00A002"_s, 1, {}, illegal);
        row("generate, too long: kept", "Command8", QString(506, u'0'), 1, u"earlier"_s,
            u"命令过长,最多只能转发252个字节!"_s);
        row("blank: nothing at all", "Command1", u"    "_s, 1, u"earlier"_s);
    }

    void sendAndGenerate() {
        QFETCH(QString, button);
        QFETCH(QString, command);
        QFETCH(int, port);
        QFETCH(QString, frame);
        QFETCH(QString, message);
        FormHarness h;
        h.connectDevice();
        h.messages.shown.clear();
        h.trace()->setText(u"earlier"_s);
        h.box("Text3")->setPlainText(u"earlier"_s);
        h.box("Text1")->setPlainText(command);
        h.combo("Combo1")->setCurrentIndex(port - 1);
        h.click(button);
        QCOMPARE(h.text("Text3"), frame);
        QCOMPARE(h.trace()->text(), frame);
        const bool sent = button == u"Command1" && message.isEmpty() && frame != u"earlier";
        QCOMPARE(h.serial.writes, sent ? QList{hex(frame)} : QList<QByteArray>());
        // The operator's text is never wiped (the box reads a no-break space as a space).
        QCOMPARE(h.text("Text1"), QString(command).replace(QChar(0xA0), u' '));
        QCOMPARE(h.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        for (const auto& box : h.messages.shown)
            QVERIFY(box.title == u"错误" && box.icon == platform::MessageBoxes::Icon::None);
    }

    void clearAndPasteCap() {
        FormHarness h;
        QPlainTextEdit* line = h.box("Text1");
        line->setPlainText(u"12"_s);
        h.click("Command8");
        h.click("Command5"); // 清空 leaves the trace
        QVERIFY(h.text("Text1").isEmpty() && h.text("Text3").isEmpty());
        QCOMPARE(h.trace()->text(), u"4004DD011223"_s);
        line->selectAll();
        QGuiApplication::clipboard()->setText(QString(1 << 20, u'A'));
        line->paste(); // replaces the selection with what fits of 1 MiB
        QCOMPARE(line->toPlainText(), QString(65535, u'A'));
        line->paste(); // full: nothing more goes in, pasted or typed
        QTest::keyClick(line, Qt::Key_B);
        QCOMPARE(line->document()->characterCount(), 65536);
        QTest::keyClick(line, Qt::Key_Backspace); // what is not text still works when full
        QCOMPARE(line->document()->characterCount(), 65535);
    }
};

QTEST_MAIN(TestReplies)
#include "tst_replies.moc"
