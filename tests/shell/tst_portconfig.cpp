// Setting, synchronising and restoring the extension ports from the main window, and what the
// panels' lists do with what the operator types or pastes.
#include "FormHarness.h"

#include <QClipboard>

using testing::FormHarness;

namespace {
const QString kAllDefault =
    QStringLiteral("401CCD") + QStringLiteral("080302").repeated(8) + QStringLiteral("600123");
const QString kAttention = QStringLiteral("注意");

// Every port at 9600 8N1 RS232, main port 115200, output allowed.
void fillAll(FormHarness& h) {
    const QStringList texts{QStringLiteral("9600"), QStringLiteral("8"), QStringLiteral("1"),
                            QStringLiteral("无"), QStringLiteral("RS232")};
    for (int i = 0; i < 8; ++i)
        for (int k = 0; k < 5; ++k)
            h.combo(QStringLiteral("Combo%1_%2").arg(QLatin1Char("23457"[k])).arg(i))
                ->setCurrentText(texts[k]);
    h.combo(QStringLiteral("Combo6"))->setCurrentText(QStringLiteral("115200"));
    h.combo(QStringLiteral("Combo8"))->setCurrentIndex(0);
}
} // namespace

class TestPortConfig : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void setSendsThePanels_data();
    void setSendsThePanels();
    void syncedPanelsAreSetBackUnchanged();
    void syncAndRestoreNeedAPort_data();
    void syncAndRestoreNeedAPort();
    void listsKeepWhatIsTyped();
};

void TestPortConfig::setSendsThePanels_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("position"); // -1: the text below is typed instead
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("frame"); // empty: refused with the message below
    QTest::addColumn<QString>("message");
    const auto with = [](int byte, const char* digits) {
        return QString(kAllDefault).replace(2 * byte, 2, QLatin1String(digits));
    };
    QTest::newRow("as filled") << "Combo6" << -1 << "115200" << kAllDefault << QString();
    QTest::newRow("5 data bits") << "Combo3_2" << 0 << "" << with(10, "00") << QString();
    QTest::newRow("RS485 full duplex") << "Combo7_3" << 2 << "" << with(14, "01") << QString();
    QTest::newRow("RS485 half duplex") << "Combo7_4" << 1 << "" << with(17, "03") << QString();
    QTest::newRow("space parity") << "Combo5_5" << 4 << "" << with(19, "3B") << QString();
    QTest::newRow("2 stop bits") << "Combo4_7" << 1 << "" << with(25, "07") << QString();
    QTest::newRow("output forbidden") << "Combo8" << 1 << "" << with(28, "00") << QString();
    QTest::newRow("typed 230400") << "Combo2_0" << -1 << "230400" << with(3, "C0") << QString();
    QTest::newRow("empty parity") << "Combo5_2" << -1 << "" << QString()
                                  << QStringLiteral("\"串口3\"的校验位为空或无效,请从列表中选择后再设置!");
    QTest::newRow("a rate the device would round")
        << "Combo2_4" << -1 << "12345" << QString()
        << QStringLiteral("\"串口5\"的波特率为空或无效(须为1200的整数倍,"
                          "最大306000),请从列表中选择后再设置!");
    QTest::newRow("unknown function") << "Combo7_5" << -1 << "RS422" << QString()
                                      << QStringLiteral("\"串口6\"的功能为空或无效,请从列表中选择后再设置!");
    QTest::newRow("no output switch")
        << "Combo8" << -1 << "" << QString()
        << QStringLiteral("\"串口0接收输出\"未选择,请选择\"允许\"或\"禁止\"后再设置!");
}

void TestPortConfig::setSendsThePanels() {
    QFETCH(QString, list);
    QFETCH(int, position);
    QFETCH(QString, text);
    QFETCH(QString, frame);
    QFETCH(QString, message);
    FormHarness h;
    h.connectDevice();
    h.serial.writes.clear();
    h.messages.shown.clear();
    fillAll(h);
    h.setText(QStringLiteral("Text1"), QStringLiteral("kept"));
    h.setTrace(QStringLiteral("40"));
    QComboBox* combo = h.combo(list);
    combo->setCurrentIndex(position);
    if (position < 0)
        combo->setEditText(text);
    h.click(QStringLiteral("Command4"));
    if (frame.isEmpty()) {
        QVERIFY(h.serial.writes.isEmpty());
        QCOMPARE(h.text(QStringLiteral("Text1")), QStringLiteral("kept"));
        QCOMPARE(h.trace(), QStringLiteral("40"));
        QCOMPARE(h.messages.texts(), QStringList{message});
        QVERIFY(h.messages.shown[0].title == kAttention &&
                h.messages.shown[0].icon == platform::MessageBoxes::Icon::Information);
        QCOMPARE(combo->currentText(), text); // what the operator typed stays to be corrected
    } else {
        QCOMPARE(h.text(QStringLiteral("Text1")), frame);
        QCOMPARE(h.trace(), QStringLiteral("00010000"));
        QCOMPARE(h.serial.writes, QList{QByteArray::fromHex(frame.toLatin1())});
        QVERIFY(h.messages.shown.isEmpty());
    }
}

void TestPortConfig::syncedPanelsAreSetBackUnchanged() {
    FormHarness h;
    h.connectDevice();
    h.click(QStringLiteral("Command6"));
    QCOMPARE(h.serial.writes.last(), QByteArray::fromHex("4002FB23"));
    // Every position of every table somewhere in the reply.
    const QByteArray payload = QByteArray::fromHex("010003020C01041D02082E03103F01202B02301A034009016001");
    h.feed(QByteArray::fromHex("401CFB") + payload + QByteArray::fromHex("23"));
    h.click(QStringLiteral("Command4"));
    QCOMPARE(h.serial.writes.last(), QByteArray::fromHex("401CCD") + payload + QByteArray::fromHex("23"));
}

void TestPortConfig::syncAndRestoreNeedAPort_data() {
    QTest::addColumn<QStringList>("ports");
    QTest::addColumn<bool>("open");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QString>("text1");
    const QStringList com3{QStringLiteral("COM3")};
    QTest::newRow("sync, no port chosen") << QStringList{} << false << "Command6"
                                          << "请设置串口参数!" << QByteArray() << "kept";
    QTest::newRow("sync, chosen but closed") << com3 << false << "Command6"
                                             << "请打开串口!" << QByteArray() << "kept";
    QTest::newRow("restore, closed") << com3 << false << "Easer"
                                     << "请打开串口!" << QByteArray() << "kept";
    QTest::newRow("restore, open") << com3 << true << "Easer"
                                   << "" << QByteArray::fromHex("4003EDEE23") << "还原所有设置至默认状态!\n";
}

void TestPortConfig::syncAndRestoreNeedAPort() {
    QFETCH(QStringList, ports);
    QFETCH(bool, open);
    QFETCH(QString, action);
    QFETCH(QString, message);
    QFETCH(QByteArray, sent);
    QFETCH(QString, text1);
    FormHarness h(ports);
    h.openPort();
    if (!open)
        h.click(QStringLiteral("Command2"));
    h.button(QStringLiteral("Command6"))->setEnabled(true); // reaches the click whatever the state
    h.messages.shown.clear();
    h.setText(QStringLiteral("Text1"), QStringLiteral("kept"));
    if (action == QLatin1String("Easer"))
        h.action(action)->trigger();
    else
        h.click(action);
    QCOMPARE(h.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty())
        QCOMPARE(h.messages.shown[0].title, kAttention);
    QCOMPARE(h.serial.writes, sent.isEmpty() ? QList<QByteArray>() : QList{sent});
    QCOMPARE(h.text(QStringLiteral("Text1")), text1);
}

void TestPortConfig::listsKeepWhatIsTyped() {
    FormHarness h;
    QComboBox* baud = h.combo(QStringLiteral("Combo2_0"));
    QTest::keyClicks(baud, QStringLiteral("3840"));
    QCOMPARE(baud->currentText(), QStringLiteral("3840")); // never completed to 38400
    QCOMPARE(baud->toolTip(), QStringLiteral("3840"));
    QGuiApplication::clipboard()->setText(QString(1 << 20, QLatin1Char('9')));
    baud->lineEdit()->selectAll();
    baud->lineEdit()->paste();
    QCOMPARE(baud->currentText(), QString(64, QLatin1Char('9')));
    // A chosen entry too long for its narrow list shows its start, and the whole text as a tooltip.
    QComboBox* function = h.combo(QStringLiteral("Combo7_2"));
    function->lineEdit()->setCursorPosition(0);
    function->setCurrentIndex(1);
    QCOMPARE(function->lineEdit()->cursorPosition(), 0);
    QCOMPARE(function->toolTip(), QStringLiteral("RS485半双工"));
}

QTEST_MAIN(TestPortConfig)
#include "tst_portconfig.moc"
