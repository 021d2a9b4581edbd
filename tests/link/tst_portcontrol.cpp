// Opening and closing the port from the main window: the state table and every failure path.
#include "FormHarness.h"

using testing::FormHarness;

namespace {
const QString kOpen = QStringLiteral("打开串口");
const QString kClose = QStringLiteral("关闭串口");
const QString kLost = QStringLiteral("串口连接已断开,请检查设备和连接线后重新打开串口!");

// Which of 连接设备, 发送, 设置串口参数, 同步串口参数 are enabled, as a four-letter pattern.
QString deviceButtons(const shell::Form1View& v) {
    QString pattern;
    for (QPushButton* b : {v.Command3, v.Command1, v.Command4, v.Command6})
        pattern.append(b->isEnabled() ? QLatin1Char('1') : QLatin1Char('0'));
    return pattern;
}
} // namespace

class TestPortControl : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstClickAsksForSettings();
    void openEnablesOnlyConnect();
    void connectSendsTheRequest();
    void closeDisablesTheDeviceButtons();
    void failedOpenEndsClosed();
    void noPortChosenEndsClosed();
    void settingsMenuClosesAnOpenPort();
    void vanishedPortClosesOnce_data();
    void vanishedPortClosesOnce();
    void replyJustBeforeTheLossIsKept();
    void failedWriteIsALostPort();
    void sendHexOnAClosedPortSaysSo();
    void quietTimeJoinsBursts();
};

void TestPortControl::firstClickAsksForSettings() {
    FormHarness h;
    FormHarness::pressInNextModal(QStringLiteral("Command2"));
    h.v().Command2->click();
    QCOMPARE(h.messages.shown.size(), 1);
    QCOMPARE(h.messages.shown[0].text, QStringLiteral("请设置串口参数!"));
    QCOMPARE(h.messages.shown[0].title, QStringLiteral("注意"));
    QVERIFY(h.messages.shown[0].icon == platform::MessageBoxes::Icon::Information);
    QCOMPARE(h.v().Command2->text(), kOpen); // confirmed, but not opened: a second click opens
    QCOMPARE(h.serial.openAttempts, 0);
    QVERIFY(h.form->portChoice().PcPortChosen);
    QCOMPARE(deviceButtons(h.v()), QStringLiteral("0000"));
}

void TestPortControl::openEnablesOnlyConnect() {
    FormHarness h;
    h.openPort();
    QVERIFY(h.serial.isOpen());
    QCOMPARE(h.serial.openings.size(), 1);
    QCOMPARE(h.serial.openings[0].portName, QStringLiteral("COM3"));
    QCOMPARE(h.serial.openings[0].settings, platform::LineSettings{});
    QCOMPARE(h.v().Command2->text(), kClose);
    QCOMPARE(deviceButtons(h.v()), QStringLiteral("1000"));
    QVERIFY(h.messages.shown.size() == 1); // only the request for settings
}

void TestPortControl::connectSendsTheRequest() {
    FormHarness h;
    h.openPort();
    h.v().Command3->click();
    QCOMPARE(h.serial.writes, QList<QByteArray>{QByteArray::fromHex("4002F123")});
    h.feed(QByteArray::fromHex("4002E123"));
    QCOMPARE(deviceButtons(h.v()), QStringLiteral("1111"));
    QVERIFY(h.v().netset->isEnabled());
}

void TestPortControl::closeDisablesTheDeviceButtons() {
    FormHarness h;
    h.connectDevice();
    h.v().Command2->click();
    QVERIFY(!h.serial.isOpen());
    QCOMPARE(h.serial.closeCalls, 1);
    QCOMPARE(h.v().Command2->text(), kOpen);
    QCOMPARE(deviceButtons(h.v()), QStringLiteral("0000"));
    QVERIFY(h.v().netset->isEnabled()); // stays enabled once the device answered
    h.v().Command2->click();            // opens again with the same choice
    QCOMPARE(h.serial.openings.size(), 2);
    QCOMPARE(h.v().Command2->text(), kClose);
}

void TestPortControl::failedOpenEndsClosed() {
    FormHarness h;
    h.serial.refuseOpen = platform::SerialError::Open;
    h.openPort();
    QCOMPARE(h.messages.shown.size(), 2);
    QCOMPARE(h.messages.shown[1].text, QStringLiteral("没有发现此串口或被占用!"));
    QCOMPARE(h.messages.shown[1].title, QStringLiteral("SETPASS"));
    QVERIFY(h.messages.shown[1].icon == platform::MessageBoxes::Icon::Information);
    QVERIFY(!h.serial.isOpen());
    QCOMPARE(h.v().Command2->text(), kOpen);
    QCOMPARE(deviceButtons(h.v()), QStringLiteral("0000"));
    h.serial.refuseOpen = platform::SerialError::NoError; // the port is free again: the next click opens
    h.v().Command2->click();
    QVERIFY(h.serial.isOpen());
    QCOMPARE(h.v().Command2->text(), kClose);
}

void TestPortControl::noPortChosenEndsClosed() {
    FormHarness h(QStringList{});
    h.openPort();
    QCOMPARE(h.messages.texts(),
             (QStringList{QStringLiteral("请设置串口参数!"), QStringLiteral("未发现串口!")}));
    QCOMPARE(h.messages.shown[1].title, QStringLiteral("注意"));
    QCOMPARE(h.serial.openAttempts, 0);
    QCOMPARE(h.v().Command2->text(), kOpen);
    QCOMPARE(deviceButtons(h.v()), QStringLiteral("0000"));
}

void TestPortControl::settingsMenuClosesAnOpenPort() {
    FormHarness h;
    h.connectDevice();
    FormHarness::onNextModal([&h](QDialog* d) {
        QVERIFY(!h.serial.isOpen()); // closed before the dialog shows
        d->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    });
    h.v().com_set->trigger();
    QVERIFY(!h.serial.isOpen());
    QCOMPARE(h.v().Command2->text(), kOpen);
    QCOMPARE(deviceButtons(h.v()), QStringLiteral("0000"));
}

void TestPortControl::vanishedPortClosesOnce_data() {
    QTest::addColumn<int>("error");
    QTest::newRow("resource") << int(platform::SerialError::Resource);
    QTest::newRow("read") << int(platform::SerialError::Read);
    QTest::newRow("write") << int(platform::SerialError::Write);
}

void TestPortControl::vanishedPortClosesOnce() {
    QFETCH(int, error);
    FormHarness h;
    h.connectDevice();
    // A vanished device reports the same error over and over.
    for (int i = 0; i < 1000; ++i)
        h.serial.fail(platform::SerialError(error));
    QVERIFY(!h.serial.isOpen());
    QCOMPARE(h.serial.closeCalls, 1);
    QCOMPARE(h.messages.texts().count(kLost), 1);
    QCOMPARE(h.messages.shown.last().title, QStringLiteral("注意"));
    QCOMPARE(h.v().Command2->text(), kOpen);
    QCOMPARE(deviceButtons(h.v()), QStringLiteral("0000"));
}

void TestPortControl::replyJustBeforeTheLossIsKept() {
    FormHarness h;
    h.openPort();
    h.messages.shown.clear();
    h.serial.feed(QByteArray::fromHex("4002E123")); // the quiet time has not passed yet
    h.serial.fail(platform::SerialError::Resource);
    QCOMPARE(h.messages.texts(), (QStringList{QStringLiteral("连接成功!"), kLost}));
    QCOMPARE(h.v().Text1->toPlainText(), QStringLiteral("4002E123"));
    QCOMPARE(deviceButtons(h.v()), QStringLiteral("0000")); // closed wins over what the reply enabled
    FormHarness::waitQuiet();
    QCOMPARE(h.messages.shown.size(), 2); // handled once, not again at the next tick
}

void TestPortControl::failedWriteIsALostPort() {
    FormHarness h;
    h.openPort();
    h.serial.refuseWrite = true;
    h.v().Command3->click();
    QVERIFY(!h.serial.isOpen());
    QCOMPARE(h.messages.texts().count(kLost), 1);
    QCOMPARE(h.v().Command2->text(), kOpen);
}

void TestPortControl::sendHexOnAClosedPortSaysSo() {
    FormHarness h;
    h.connectDevice();
    h.serial.close(); // gone without the window noticing
    h.v().Command6->click();
    QCOMPARE(h.messages.shown.last().text, QStringLiteral("请打开串口!"));
    QCOMPARE(h.messages.shown.last().title, QStringLiteral("注意"));
    QCOMPARE(h.serial.writes.size(), 0);
}

void TestPortControl::quietTimeJoinsBursts() {
    FormHarness h;
    h.openPort();
    h.serial.feed(QByteArray::fromHex("4002"));
    testing::spin(20);
    h.serial.feed(QByteArray::fromHex("E1"));
    testing::spin(20);
    h.serial.feed(QByteArray::fromHex("23"));
    QTRY_COMPARE(h.v().Text1->toPlainText(), QStringLiteral("4002E123"));
    QCOMPARE(h.messages.texts().count(QStringLiteral("连接成功!")), 1);
}

QTEST_MAIN(TestPortControl)
#include "tst_portcontrol.moc"
