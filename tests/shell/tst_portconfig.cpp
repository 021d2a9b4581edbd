// Setting, synchronising and restoring the extension ports from the main window.
#include "FormHarness.h"

using testing::FormHarness;

namespace {
const QString kAllDefault =
    QStringLiteral("401CCD") + QStringLiteral("080302").repeated(8) + QStringLiteral("600123");

void fillAll(FormHarness& h) {
    for (int i = 0; i < 8; ++i)
        h.setPort(i, QStringLiteral("9600"), QStringLiteral("8"), QStringLiteral("1"), QStringLiteral("无"),
                  QStringLiteral("RS232"));
    h.v().Combo6->setCurrentText(QStringLiteral("115200"));
    h.v().Combo8->setCurrentIndex(0);
}
} // namespace

class TestPortConfig : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void setSendsTheFrame();
    void setByPickedEntries();
    void incompletePanelsSendNothing_data();
    void incompletePanelsSendNothing();
    void syncNeedsAChosenPort();
    void syncSendsTheRequest();
    void restoreNeedsAnOpenPort();
    void restoreSendsAtOnce();
};

void TestPortConfig::setSendsTheFrame() {
    FormHarness h;
    h.connectDevice();
    h.serial.writes.clear();
    h.messages.shown.clear();
    fillAll(h);
    h.v().Command4->click();
    QCOMPARE(h.v().Text1->toPlainText(), kAllDefault);
    QCOMPARE(kAllDefault.size(), 60);
    QCOMPARE(h.v().Text2->text(), QStringLiteral("00010000"));
    QCOMPARE(h.serial.writes, QList<QByteArray>{QByteArray::fromHex(kAllDefault.toLatin1())});
    QVERIFY(h.messages.shown.isEmpty());
}

void TestPortConfig::setByPickedEntries() {
    FormHarness h;
    h.connectDevice();
    h.serial.writes.clear();
    fillAll(h);
    h.v().Combo3[2]->setCurrentIndex(0); // 5 data bits
    h.v().Combo7[3]->setCurrentIndex(2); // RS485全双工
    h.v().Combo7[4]->setCurrentIndex(1); // RS485半双工
    h.v().Combo5[5]->setCurrentIndex(4); // 空校验
    h.v().Combo4[5]->setCurrentIndex(1); // 2 stop bits
    h.v().Combo8->setCurrentIndex(1);    // 禁止
    h.v().Command4->click();
    const QString frame = h.v().Text1->toPlainText();
    const auto byte = [&frame](int k) { return frame.mid(2 * k, 2); };
    QCOMPARE(byte(3 + 3 * 2 + 1), QStringLiteral("00"));
    QCOMPARE(byte(3 + 3 * 3 + 2), QStringLiteral("01"));
    QCOMPARE(byte(3 + 3 * 4 + 2), QStringLiteral("03"));
    QCOMPARE(byte(3 + 3 * 5 + 1), QStringLiteral("3F"));
    QCOMPARE(byte(28), QStringLiteral("00"));
    QCOMPARE(h.serial.writes.size(), 1);
}

void TestPortConfig::incompletePanelsSendNothing_data() {
    QTest::addColumn<int>("port"); // 0..7, or -1 for the main port's lists
    QTest::addColumn<int>("list"); // 0 baud, 1 data bits, 2 stop bits, 3 parity, 4 function, 5 output switch
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("field");
    QTest::newRow("empty parity of port 3") << 2 << 3 << ""
                                            << "串口3"
                                            << "校验位";
    QTest::newRow("typed parity") << 0 << 3 << "none"
                                  << "串口1"
                                  << "校验位";
    QTest::newRow("baud too low for a code") << 7 << 0 << "600"
                                             << "串口8"
                                             << "波特率";
    QTest::newRow("baud not a number") << 4 << 0 << "fast"
                                       << "串口5"
                                       << "波特率";
    QTest::newRow("nine data bits") << 1 << 1 << "9"
                                    << "串口2"
                                    << "数据位";
    QTest::newRow("one and a half stop bits") << 6 << 2 << "1.5"
                                              << "串口7"
                                              << "停止位";
    QTest::newRow("unknown function") << 5 << 4 << "RS422"
                                      << "串口6"
                                      << "功能";
    QTest::newRow("empty main baud") << -1 << 0 << ""
                                     << "串口0"
                                     << "波特率";
    QTest::newRow("no output switch") << -1 << 5 << ""
                                      << "串口0接收输出"
                                      << "";
}

void TestPortConfig::incompletePanelsSendNothing() {
    QFETCH(int, port);
    QFETCH(int, list);
    QFETCH(QString, text);
    QFETCH(QString, panel);
    QFETCH(QString, field);
    FormHarness h;
    h.connectDevice();
    h.serial.writes.clear();
    h.messages.shown.clear();
    fillAll(h);
    h.v().Text1->setPlainText(QStringLiteral("kept"));
    h.v().Text2->setText(QStringLiteral("40"));
    QComboBox* combo = nullptr;
    if (port >= 0) {
        combo = std::array{h.v().Combo2[port], h.v().Combo3[port], h.v().Combo4[port], h.v().Combo5[port],
                           h.v().Combo7[port]}[list];
    } else {
        combo = list == 0 ? h.v().Combo6 : h.v().Combo8;
    }
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
    h.v().Command4->click();

    QVERIFY(h.serial.writes.isEmpty());
    QCOMPARE(h.v().Text1->toPlainText(), QStringLiteral("kept"));
    QCOMPARE(h.v().Text2->text(), QStringLiteral("40"));
    QCOMPARE(h.messages.shown.size(), 1);
    QCOMPARE(h.messages.shown[0].title, QStringLiteral("注意"));
    QVERIFY(h.messages.shown[0].icon == platform::MessageBoxes::Icon::Information);
    QVERIFY2(h.messages.shown[0].text.contains(panel), qPrintable(h.messages.shown[0].text));
    QVERIFY2(h.messages.shown[0].text.contains(field), qPrintable(h.messages.shown[0].text));
}

void TestPortConfig::syncNeedsAChosenPort() {
    FormHarness h(QStringList{});
    h.form->portChoice().PcPortChosen = true; // confirmed with no port in the list
    h.v().Command6->setEnabled(true);
    h.v().Command6->click();
    QCOMPARE(h.messages.texts(), QStringList{QStringLiteral("请设置串口参数!")});
    QCOMPARE(h.messages.shown[0].title, QStringLiteral("注意"));
    QCOMPARE(h.serial.openAttempts, 0);
}

void TestPortConfig::syncSendsTheRequest() {
    FormHarness h;
    h.connectDevice();
    h.serial.writes.clear();
    h.v().Command6->click();
    QCOMPARE(h.serial.writes, QList<QByteArray>{QByteArray::fromHex("4002FB23")});
}

void TestPortConfig::restoreNeedsAnOpenPort() {
    FormHarness h;
    h.v().Text1->setPlainText(QStringLiteral("kept"));
    h.v().Easer->trigger();
    QCOMPARE(h.messages.texts(), QStringList{QStringLiteral("请打开串口!")});
    QCOMPARE(h.messages.shown[0].title, QStringLiteral("注意"));
    QCOMPARE(h.v().Text1->toPlainText(), QStringLiteral("kept"));
    QVERIFY(h.serial.writes.isEmpty());
}

void TestPortConfig::restoreSendsAtOnce() {
    FormHarness h;
    h.openPort();
    h.messages.shown.clear();
    h.v().Easer->trigger();
    QCOMPARE(h.v().Text1->toPlainText(), QStringLiteral("还原所有设置至默认状态!\n"));
    QCOMPARE(h.serial.writes, QList<QByteArray>{QByteArray::fromHex("4003EDEE23")});
    QVERIFY(h.messages.shown.isEmpty());
}

QTEST_MAIN(TestPortConfig)
#include "tst_portconfig.moc"
