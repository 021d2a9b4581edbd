// Setting, synchronising and restoring the extension ports from the main window, and what the
// panels' lists do with what the operator types or pastes.
#include "FormHarness.h"

#include <QClipboard>

using testing::FormHarness;

namespace {
const QString kAllDefault = u"401CCD"_s + u"080302"_s.repeated(8) + u"600123"_s;

// Every port at 9600 8N1 RS232, main port 115200, output allowed.
void fillAll(FormHarness& h) {
    const QStringList texts = u"9600 8 1 无 RS232"_s.split(u' ');
    for (int i = 0; i < 8; ++i)
        for (int k = 0; k < 5; ++k)
            h.combo(u"Combo%1_%2"_s.arg(QLatin1Char("23457"[k])).arg(i))->setCurrentText(texts[k]);
    h.combo("Combo6")->setCurrentText(u"115200"_s);
    h.combo("Combo8")->setCurrentIndex(0);
}
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
        const auto with = [](int byte, const char* digits) {
            return QString(kAllDefault).replace(2 * byte, 2, QLatin1String(digits));
        };
        QTest::newRow("as filled") << "Combo6" << -1 << "115200" << kAllDefault << QString();
        QTest::newRow("typed 230400") << "Combo2_0" << -1 << "230400" << with(3, "C0") << QString();
        QTest::newRow("output forbidden") << "Combo8" << 1 << "" << with(28, "00") << QString();
        QTest::newRow("empty parity") << "Combo5_2" << -1 << "" << QString()
                                      << u"\"串口3\"的校验位为空或无效,请从列表中选择后再设置!"_s;
        QTest::newRow("a rate the device would round")
            << "Combo2_4" << -1 << "12345" << QString()
            << u"\"串口5\"的波特率为空或无效(须为1200的整数倍,最大306000),请从列表中选择后再设置!"_s;
        QTest::newRow("no output switch") << "Combo8" << -1 << "" << QString()
                                          << u"\"串口0接收输出\"未选择,请选择\"允许\"或\"禁止\"后再设置!"_s;
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
        fillAll(h);
        h.box("Text1")->setPlainText(u"kept"_s);
        h.trace()->setText(u"40"_s);
        h.combo(list)->setCurrentIndex(position);
        if (position < 0)
            h.combo(list)->setEditText(text);
        h.click("Command4");
        QCOMPARE(h.text("Text1"), frame.isEmpty() ? u"kept"_s : frame);
        QCOMPARE(h.trace()->text(), frame.isEmpty() ? u"40"_s : u"00010000"_s);
        QCOMPARE(h.serial.writes,
                 frame.isEmpty() ? QList<QByteArray>() : QList{QByteArray::fromHex(frame.toLatin1())});
        QCOMPARE(h.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        for (const auto& box : h.messages.shown)
            QVERIFY(box.title == u"注意" && box.icon == platform::MessageBoxes::Icon::Information);
        QCOMPARE(h.combo(list)->currentText(), position < 0 ? text : h.combo(list)->itemText(position));
    }

    void syncedPanelsAreSetBackUnchanged() {
        FormHarness h;
        h.connectDevice();
        h.click("Command6");
        QCOMPARE(h.serial.writes.last(), QByteArray::fromHex("4002FB23"));
        // Every position of every table somewhere in the reply: each list reads back what it showed.
        const QByteArray payload =
            QByteArray::fromHex("010003020C01041D02082E03103F01202B02301A034009016001");
        h.feed(QByteArray::fromHex("401CFB") + payload + QByteArray::fromHex("23"));
        h.click("Command4");
        QCOMPARE(h.serial.writes.last(), QByteArray::fromHex("401CCD") + payload + QByteArray::fromHex("23"));
    }

    void syncAndRestoreNeedAPort_data() {
        QTest::addColumn<QStringList>("ports");
        QTest::addColumn<bool>("open");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("text1");
        const QStringList com3{u"COM3"_s};
        QTest::newRow("sync, no port chosen") << QStringList() << false << "Command6"
                                              << "请设置串口参数!" << QByteArray() << "kept";
        QTest::newRow("sync, closed") << com3 << false << "Command6"
                                      << "请打开串口!" << QByteArray() << "kept";
        QTest::newRow("restore, closed") << com3 << false << "Easer"
                                         << "请打开串口!" << QByteArray() << "kept";
        QTest::newRow("restore, open")
            << com3 << true << "Easer"
            << "" << QByteArray::fromHex("4003EDEE23") << "还原所有设置至默认状态!\n";
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
};

QTEST_MAIN(TestPortConfig)
#include "tst_portconfig.moc"
