// The reply processor as the operator sees it: the echo, the messages, and what each reply changes.
#include "FormHarness.h"
#include "config/ui/Dialog2.h"

using testing::FormHarness;
using Icon = platform::MessageBoxes::Icon;

namespace {
// The command line shows a CR LF pair as one line break.
const QString kCrLf = QStringLiteral("\n");
const QString kSynced = QStringLiteral("扩展串口数据同步成功!");

// A port-sync reply: port 1 as given (by default 60 03 02: 115200 8N1 RS232), main 08, switch 00.
QByteArray syncReply(const QByteArray& firstRecord = QByteArray::fromHex("600302")) {
    QByteArray reply = QByteArray::fromHex("401CFB") + firstRecord;
    for (int i = 1; i < 8; ++i)
        reply +=
            QByteArray::fromHex("100B01"); // 19200, odd parity, 1 stop bit, 8 data bits, RS485 full duplex
    return reply + QByteArray::fromHex("080023");
}
} // namespace

class TestReplies : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void echoAndMessages_data();
    void echoAndMessages();
    void connectEnablesAfterTheMessage();
    void restoreNoticeFollowsTheTrace();
    void networkSetHidesTheDialog();
    void networkParametersFillTheDialog();
    void shortNetworkReplyChangesNothing();
    void syncSelectsEveryList();
    void unknownCodesLeaveListsAlone();
    void shortSyncReplyChangesNothing();
    void twoRepliesInOneBurst();
    void garbageAfterAFrame();
    void nothingHappensWithThePortClosed();
};

void TestReplies::echoAndMessages_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text1");
    QTest::addColumn<QString>("message");
    QTest::newRow("connect") << QByteArray::fromHex("4002E123") << "4002E123" << QStringLiteral("连接成功!");
    QTest::newRow("port set") << QByteArray::fromHex("4002E223") << "4002E223"
                              << QStringLiteral("设置扩展串口数据成功!请重启设备应用新的通迅波特率!");
    QTest::newRow("bad end") << QByteArray::fromHex("4002E124") << "4002E124" << QString();
    QTest::newRow("bad start") << QByteArray::fromHex("4102E123") << "4102E123" << QString();
    QTest::newRow("single byte") << QByteArray::fromHex("07") << "07" << QString();
    QTest::newRow("unknown code") << QByteArray::fromHex("4002AA23") << "4002AA23" << QString();
    QTest::newRow("length byte not examined")
        << QByteArray::fromHex("4009E123") << "4009E123" << QStringLiteral("连接成功!");
}

void TestReplies::echoAndMessages() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text1);
    QFETCH(QString, message);
    FormHarness h;
    h.openPort();
    h.messages.shown.clear();
    h.feed(bytes);
    QCOMPARE(h.v().Text1->toPlainText(), text1);
    QCOMPARE(h.v().Text2->text(), text1.left(2));
    if (message.isEmpty()) {
        QVERIFY(h.messages.shown.isEmpty());
        QVERIFY(!h.v().Command1->isEnabled());
    } else {
        QCOMPARE(h.messages.texts(), QStringList{message});
        QCOMPARE(h.messages.shown[0].title, QStringLiteral("恭喜"));
        QVERIFY(h.messages.shown[0].icon == Icon::Information);
    }
}

void TestReplies::connectEnablesAfterTheMessage() {
    FormHarness h;
    h.openPort();
    bool enabledDuringMessage = true;
    h.messages.whileShown = [&](const auto&) {
        enabledDuringMessage = h.v().Command1->isEnabled() || h.v().netset->isEnabled();
    };
    h.feed(QByteArray::fromHex("4002E123"));
    QVERIFY(!enabledDuringMessage);
    for (QPushButton* b : {h.v().Command1, h.v().Command4, h.v().Command6})
        QVERIFY(b->isEnabled());
    QVERIFY(h.v().netset->isEnabled());
}

void TestReplies::restoreNoticeFollowsTheTrace() {
    FormHarness h;
    h.openPort();
    h.v().Text2->setText(QStringLiteral("40"));
    h.feed(QByteArray::fromHex("4002E423"));
    QCOMPARE(h.v().Text1->toPlainText(),
             QStringLiteral("40") + kCrLf +
                 QStringLiteral("还原设置成功,请重新上电初始化所有参数,此过程将耗时数秒钟!") + kCrLf);
    QCOMPARE(h.messages.shown.size(), 1); // no box for this one, only the earlier settings request
}

void TestReplies::networkSetHidesTheDialog() {
    FormHarness h;
    h.connectDevice();
    h.v().Text2->setText(QStringLiteral("4014CE"));
    QString text1AtMessage;
    h.messages.whileShown = [&](const auto&) { text1AtMessage = h.v().Text1->toPlainText(); };
    FormHarness::onNextModal([&h](QDialog*) { h.serial.feed(QByteArray::fromHex("4002E523")); });
    h.v().netset->trigger(); // returns when the reply hides the dialog
    QCOMPARE(text1AtMessage, QStringLiteral("4014CE") + kCrLf);
    QCOMPARE(h.messages.shown.last().text, QStringLiteral("网络参数设置成功,请重新上电初始化网络参数!"));
    QVERIFY(!h.form->networkDialog()->isVisible());
}

void TestReplies::networkParametersFillTheDialog() {
    FormHarness h;
    h.openPort();
    h.feed(QByteArray::fromHex("4014CA0008DC010203C0A80164FFFFFF00C0A8010123"));
    QVERIFY(h.form->networkDialog()); // created for the values, never shown
    QVERIFY(!h.form->networkDialog()->isVisible());
    const config::OctetTexts boxes = h.form->networkDialog()->octetTexts();
    const QStringList expected =
        QStringLiteral("0 8 220 1 2 3 192 168 1 100 255 255 255 0 192 168 1 1").split(QLatin1Char(' '));
    QCOMPARE(QStringList(boxes.begin(), boxes.end()), expected);
}

void TestReplies::shortNetworkReplyChangesNothing() {
    FormHarness h;
    h.openPort();
    h.form->ensureNetworkDialog().setOctetText(6, QStringLiteral("10"));
    h.feed(QByteArray::fromHex("4014CAC0A80123"));
    QCOMPARE(h.form->networkDialog()->octetTexts()[6], QStringLiteral("10"));
    QCOMPARE(h.v().Text1->toPlainText(), QStringLiteral("4014CAC0A80123"));
}

void TestReplies::syncSelectsEveryList() {
    FormHarness h;
    h.openPort();
    h.feed(syncReply());
    const auto& v = h.v();
    QCOMPARE(v.Combo2[0]->currentText(), QStringLiteral("115200"));
    QCOMPARE(v.Combo3[0]->currentText(), QStringLiteral("8"));
    QCOMPARE(v.Combo4[0]->currentText(), QStringLiteral("1"));
    QCOMPARE(v.Combo5[0]->currentText(), QStringLiteral("无"));
    QCOMPARE(v.Combo7[0]->currentText(), QStringLiteral("RS232"));
    // 10 0B 01: 19200 baud; line byte 001 0 11 -> odd parity, 1 stop bit, 8 data bits; RS485 full duplex.
    for (int i = 1; i < 8; ++i) {
        QCOMPARE(v.Combo2[i]->currentText(), QStringLiteral("19200"));
        QCOMPARE(v.Combo3[i]->currentText(), QStringLiteral("8"));
        QCOMPARE(v.Combo4[i]->currentText(), QStringLiteral("1"));
        QCOMPARE(v.Combo5[i]->currentText(), QStringLiteral("奇校验"));
        QCOMPARE(v.Combo7[i]->currentText(), QStringLiteral("RS485全双工"));
    }
    QCOMPARE(v.Combo6->currentText(), QStringLiteral("9600"));
    QCOMPARE(v.Combo8->currentText(), QStringLiteral("禁止"));
    QCOMPARE(h.messages.shown.last().text, kSynced);
}

void TestReplies::unknownCodesLeaveListsAlone() {
    FormHarness h;
    h.openPort();
    h.v().Combo2[0]->setCurrentText(QStringLiteral("4800"));
    h.v().Combo5[0]->setCurrentText(QStringLiteral("偶校验"));
    h.v().Combo7[0]->setCurrentText(QStringLiteral("RS232"));
    // Baud code 05 and function 07 are in no table; parity code 2 (line byte 0x13) neither.
    h.feed(syncReply(QByteArray::fromHex("051307")));
    QCOMPARE(h.v().Combo2[0]->currentText(), QStringLiteral("4800"));
    QCOMPARE(h.v().Combo5[0]->currentText(), QStringLiteral("偶校验"));
    QCOMPARE(h.v().Combo7[0]->currentText(), QStringLiteral("RS232"));
    QCOMPARE(h.v().Combo3[0]->currentText(), QStringLiteral("8")); // the known fields still apply
    QCOMPARE(h.messages.shown.last().text, kSynced);
}

void TestReplies::shortSyncReplyChangesNothing() {
    FormHarness h;
    h.openPort();
    h.messages.shown.clear();
    h.feed(syncReply().left(20) + QByteArray::fromHex("23"));
    for (int i = 0; i < 8; ++i)
        QCOMPARE(h.v().Combo3[i]->currentIndex(), -1);
    QVERIFY(h.messages.shown.isEmpty());
    QCOMPARE(h.v().Text1->toPlainText().size(), 42);
}

void TestReplies::twoRepliesInOneBurst() {
    FormHarness h;
    h.openPort();
    h.messages.shown.clear();
    h.feed(QByteArray::fromHex("4002E1234002E223"));
    QCOMPARE(h.messages.texts(),
             (QStringList{QStringLiteral("连接成功!"),
                          QStringLiteral("设置扩展串口数据成功!请重启设备应用新的通迅波特率!")}));
    QCOMPARE(h.v().Text1->toPlainText(), QStringLiteral("4002E1234002E223"));
    QVERIFY(h.v().Command4->isEnabled());
}

void TestReplies::garbageAfterAFrame() {
    FormHarness h;
    h.openPort();
    h.messages.shown.clear();
    h.feed(QByteArray::fromHex("4002E123FF0040"));
    QCOMPARE(h.messages.texts(), QStringList{QStringLiteral("连接成功!")});
    QCOMPARE(h.v().Text2->text(), QStringLiteral("FF")); // the last reply's start byte
}

void TestReplies::nothingHappensWithThePortClosed() {
    FormHarness h;
    h.serial.feed(QByteArray::fromHex("4002E123")); // arrives nowhere: the port is closed
    FormHarness::waitQuiet();
    QVERIFY(h.v().Text1->toPlainText().isEmpty());
    QVERIFY(h.messages.shown.isEmpty());
}

QTEST_MAIN(TestReplies)
#include "tst_replies.moc"
