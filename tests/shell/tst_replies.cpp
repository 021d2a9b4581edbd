// The reply processor as the operator sees it: the echo, the messages, and what each reply changes.
#include "FormHarness.h"
#include "config/ui/Dialog2.h"

using testing::FormHarness;

namespace {
const QString kConnected = QStringLiteral("连接成功!");
const QString kSetDone = QStringLiteral("设置扩展串口数据成功!请重启设备应用新的通迅波特率!");
const QString kSynced = QStringLiteral("扩展串口数据同步成功!");
const QString kNetSet = QStringLiteral("网络参数设置成功,请重新上电初始化网络参数!");
const QByteArray kNetwork = QByteArray::fromHex("4014CA0008DC010203C0A80164FFFFFF00C0A8010123");

QByteArray hex(const char* digits) {
    return QByteArray::fromHex(digits);
}

// A port-sync reply: port 1 as given, then seven ports at 10 0B 01 (19200, odd parity, 1 stop
// bit, 8 data bits, RS485 full duplex); main port 08 (9600), output switch 00 (禁止).
QByteArray syncReply(const char* firstRecord) {
    return hex("401CFB") + hex(firstRecord) + hex("100B01").repeated(7) + hex("080023");
}

QStringList panelTexts(const FormHarness& h, int port) {
    QStringList texts;
    for (char list : {'2', '3', '4', '5', '7'})
        texts << h.combo(QStringLiteral("Combo%1_%2").arg(QLatin1Char(list)).arg(port))->currentText();
    return texts;
}

QStringList words(const QString& list) {
    return list.split(QLatin1Char(' '));
}
} // namespace

class TestReplies : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void echoAndMessages_data();
    void echoAndMessages();
    void restoreNoticeFollowsTheTrace();
    void networkSetHidesTheDialogAfterItsBox();
    void networkParametersFillTheDialog_data();
    void networkParametersFillTheDialog();
    void syncSelectsTheLists_data();
    void syncSelectsTheLists();
    void aBoxStillOpenIsNotOpenedAgain();
};

void TestReplies::echoAndMessages_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("trace");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("connected");
    QTest::newRow("connect") << hex("4002E123") << "40" << QStringList{kConnected} << true;
    QTest::newRow("length not examined") << hex("4009E123") << "40" << QStringList{kConnected} << true;
    QTest::newRow("port set") << hex("4002E223") << "40" << QStringList{kSetDone} << false;
    QTest::newRow("bad end") << hex("4002E124") << "40" << QStringList{} << false;
    QTest::newRow("bad start") << hex("4102E123") << "41" << QStringList{} << false;
    QTest::newRow("single byte") << hex("07") << "07" << QStringList{} << false;
    QTest::newRow("unknown code") << hex("4002AA23") << "40" << QStringList{} << false;
    QTest::newRow("two replies") << hex("4002E1234002E223") << "40" << QStringList{kConnected, kSetDone}
                                 << true;
    QTest::newRow("garbage after a frame")
        << hex("4002E123FF0040") << "FF" << QStringList{kConnected} << true;
    QTest::newRow("a burst of 256 is one box")
        << hex("4002E123").repeated(256) << "40" << QStringList{kConnected} << true;
}

void TestReplies::echoAndMessages() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, trace);
    QFETCH(QStringList, messages);
    QFETCH(bool, connected);
    FormHarness h;
    h.openPort();
    h.messages.shown.clear();
    QStringList enabledAtBox;
    h.messages.whileShown = [&](const auto&) { enabledAtBox << h.deviceButtons(); };
    h.feed(bytes);
    QCOMPARE(h.text(QStringLiteral("Text1")), QString::fromLatin1(bytes.toHex().toUpper()));
    QCOMPARE(h.trace(), trace);
    QCOMPARE(h.messages.texts(), messages);
    for (const auto& box : h.messages.shown)
        QVERIFY(box.title == QStringLiteral("恭喜") && box.icon == platform::MessageBoxes::Icon::Information);
    QCOMPARE(h.deviceButtons(), connected ? QStringLiteral("1111") : QStringLiteral("1000"));
    QCOMPARE(h.action(QStringLiteral("netset"))->isEnabled(), connected);
    if (connected) // the buttons unlock once the operator has closed the box
        QCOMPARE(enabledAtBox.first(), QStringLiteral("1000"));
}

void TestReplies::restoreNoticeFollowsTheTrace() {
    FormHarness h;
    h.openPort();
    h.setTrace(QStringLiteral("40"));
    h.feed(hex("4002E423"));
    QCOMPARE(h.text(QStringLiteral("Text1")),
             QStringLiteral("40\n还原设置成功,请重新上电初始化所有参数,此过程将耗时数秒钟!\n"));
    QCOMPARE(h.messages.shown.size(), 1); // no box of its own, only the earlier request for settings
}

void TestReplies::networkSetHidesTheDialogAfterItsBox() {
    FormHarness h;
    h.connectDevice();
    h.setTrace(QStringLiteral("4014CE"));
    QString text1AtBox;
    bool visibleAtBox = false;
    h.messages.whileShown = [&](const auto&) {
        text1AtBox = h.text(QStringLiteral("Text1"));
        visibleAtBox = h.form->findChild<config::Dialog2*>()->isVisible();
    };
    testing::onNextModal([&h](QDialog*) { h.feed(hex("4002E523")); });
    h.action(QStringLiteral("netset"))->trigger(); // returns when the reply has hidden the dialog
    QCOMPARE(text1AtBox, QStringLiteral("4014CE\n"));
    QVERIFY(visibleAtBox);
    QCOMPARE(h.messages.texts().last(), kNetSet);
    QVERIFY(!h.form->findChild<config::Dialog2*>()->isVisible());
}

void TestReplies::networkParametersFillTheDialog_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("whole") << kNetwork
                           << words(QStringLiteral("0 8 220 1 2 3 192 168 1 100 255 255 255 0 192 168 1 1"));
    QTest::newRow("short: nothing changes") << hex("4014CAC0A80123") << QStringList(18, QStringLiteral("7"));
}

void TestReplies::networkParametersFillTheDialog() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, boxes);
    FormHarness h;
    h.openPort();
    h.feed(hex("4014CA") + QByteArray(18, 7) + hex("23"));
    h.feed(bytes);
    auto* dialog = testing::find<config::Dialog2>(h.form.get(), QStringLiteral("Dialog2"));
    QVERIFY(!dialog->isVisible()); // made for the values, never shown
    const config::OctetTexts texts = dialog->octetTexts();
    QCOMPARE(QStringList(texts.begin(), texts.end()), boxes);
    QCOMPARE(h.messages.shown.size(), 1); // only the request for settings
}

void TestReplies::syncSelectsTheLists_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("port1");
    QTest::addColumn<QStringList>("port8");
    QTest::addColumn<QStringList>("main"); // Combo6, Combo8
    QTest::addColumn<int>("boxes");
    const QStringList before = words(QStringLiteral("4800 7 2 偶校验 RS485半双工"));
    const QStringList others = words(QStringLiteral("19200 8 1 奇校验 RS485全双工"));
    QTest::newRow("every list") << syncReply("600302") << words(QStringLiteral("115200 8 1 无 RS232"))
                                << others << words(QStringLiteral("9600 禁止")) << 1;
    // Baud 05 and function 07 are in no table, nor parity code 2 (line byte 13): those lists stay.
    QTest::newRow("unknown codes") << syncReply("051307")
                                   << words(QStringLiteral("4800 8 1 偶校验 RS485半双工")) << others
                                   << words(QStringLiteral("9600 禁止")) << 1;
    QTest::newRow("short: nothing") << syncReply("600302").left(20) + hex("23") << before << before
                                    << words(QStringLiteral("1200 允许")) << 0;
}

void TestReplies::syncSelectsTheLists() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, port1);
    QFETCH(QStringList, port8);
    QFETCH(QStringList, main);
    QFETCH(int, boxes);
    FormHarness h;
    h.openPort();
    h.messages.shown.clear();
    const QStringList before = words(QStringLiteral("4800 7 2 偶校验 RS485半双工"));
    for (int port : {0, 7})
        for (int k = 0; k < 5; ++k)
            h.combo(QStringLiteral("Combo%1_%2").arg(QLatin1Char("23457"[k])).arg(port))
                ->setCurrentText(before[k]);
    h.combo(QStringLiteral("Combo6"))->setCurrentIndex(0);
    h.combo(QStringLiteral("Combo8"))->setCurrentIndex(0);
    h.feed(bytes);
    QCOMPARE(panelTexts(h, 0), port1);
    QCOMPARE(panelTexts(h, 7), port8);
    QCOMPARE(QStringList({h.combo(QStringLiteral("Combo6"))->currentText(),
                          h.combo(QStringLiteral("Combo8"))->currentText()}),
             main);
    QCOMPARE(h.messages.texts(), QStringList(boxes, kSynced));
}

void TestReplies::aBoxStillOpenIsNotOpenedAgain() {
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
    QCOMPARE(h.text(QStringLiteral("Text1")), QStringLiteral("4002E223")); // the later replies still show
    QCOMPARE(h.deviceButtons(), QStringLiteral("1111"));
}

QTEST_MAIN(TestReplies)
#include "tst_replies.moc"
