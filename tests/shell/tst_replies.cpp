// The reply processor as the operator sees it: the echo, the messages, and what each reply changes.
#include "FormHarness.h"
#include "config/ui/Dialog2.h"

using testing::FormHarness;

namespace {
const QString kConnected = u"连接成功!"_s;
const QString kSetDone = u"设置扩展串口数据成功!请重启设备应用新的通迅波特率!"_s;
const QString kSynced = u"扩展串口数据同步成功!"_s;

QByteArray hex(const char* digits) {
    return QByteArray::fromHex(digits);
}
// A port-sync reply: port 1 as given, then seven ports at 10 0B 01 (19200, odd parity, 1 stop
// bit, 8 data bits, RS485 full duplex); main port 08 (9600), output switch 00 (禁止).
QByteArray syncReply(const char* firstRecord) {
    return hex("401CFB") + hex(firstRecord) + hex("100B01").repeated(7) + hex("080023");
}
// The texts of port 1's and port 8's lists and of the main port's two.
QString panels(const FormHarness& h) {
    QStringList texts;
    for (const char* list : {"Combo2_0", "Combo3_0", "Combo4_0", "Combo5_0", "Combo7_0", "Combo2_7",
                             "Combo3_7", "Combo4_7", "Combo5_7", "Combo7_7", "Combo6", "Combo8"})
        texts << h.combo(list)->currentText();
    return texts.join(u' ');
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
        const QString restored = u"还原设置成功,请重新上电初始化所有参数,此过程将耗时数秒钟!"_s;
        QTest::newRow("connect") << hex("4002E123") << "40"
                                 << "" << QStringList{kConnected} << true;
        QTest::newRow("length not examined") << hex("4009E123") << "40"
                                             << "" << QStringList{kConnected} << true;
        QTest::newRow("port set") << hex("4002E223") << "40"
                                  << "" << QStringList{kSetDone} << false;
        QTest::newRow("restore: a notice after the trace")
            << hex("4002E423") << "40" << u"trace\n"_s + restored + u"\n"_s << QStringList() << false;
        QTest::newRow("bad end") << hex("4002E124") << "40"
                                 << "" << QStringList() << false;
        QTest::newRow("bad start") << hex("4102E123") << "41"
                                   << "" << QStringList() << false;
        QTest::newRow("single byte") << hex("07") << "07"
                                     << "" << QStringList() << false;
        QTest::newRow("two replies") << hex("4002E1234002E223") << "40"
                                     << "" << QStringList{kConnected, kSetDone} << true;
        QTest::newRow("garbage after a frame") << hex("4002E123FF0040") << "FF"
                                               << "" << QStringList{kConnected} << true;
        QTest::newRow("256 in a burst: one box") << hex("4002E123").repeated(256) << "40"
                                                 << "" << QStringList{kConnected} << true;
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

    void syncSelectsTheLists_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("panels"); // port 1, port 8, main port
        QTest::addColumn<int>("boxes");
        QTest::newRow("every list") << syncReply("600302")
                                    << "115200 8 1 无 RS232 19200 8 1 奇校验 RS485全双工 9600 禁止" << 1;
        // Baud 05 and function 07 are in no table, nor parity code 2 (line byte 13): those lists stay.
        QTest::newRow("unknown codes")
            << syncReply("051307") << "4800 8 1 偶校验 RS485半双工 19200 8 1 奇校验 RS485全双工 9600 禁止"
            << 1;
        QTest::newRow("short: nothing")
            << syncReply("600302").left(20) + hex("23")
            << "4800 7 2 偶校验 RS485半双工 4800 7 2 偶校验 RS485半双工 1200 允许" << 0;
    }

    void syncSelectsTheLists() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, panels);
        QFETCH(int, boxes);
        FormHarness h;
        h.openPort();
        h.messages.shown.clear();
        const QStringList before = u"4800 7 2 偶校验 RS485半双工"_s.split(u' ');
        for (int port : {0, 7})
            for (int k = 0; k < 5; ++k)
                h.combo(u"Combo%1_%2"_s.arg(QLatin1Char("23457"[k])).arg(port))->setCurrentText(before[k]);
        h.combo("Combo6")->setCurrentIndex(0);
        h.combo("Combo8")->setCurrentIndex(0);
        h.feed(bytes);
        QCOMPARE(::panels(h), panels);
        QCOMPARE(h.messages.texts(), QStringList(boxes, kSynced));
    }

    void networkParametersFillTheDialog_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("boxes");
        QTest::newRow("whole") << hex("4014CA0008DC010203C0A80164FFFFFF00C0A8010123")
                               << "0 8 220 1 2 3 192 168 1 100 255 255 255 0 192 168 1 1";
        QTest::newRow("short: nothing changes")
            << hex("4014CAC0A80123") << "7 7 7 7 7 7 7 7 7 7 7 7 7 7 7 7 7 7";
    }

    void networkParametersFillTheDialog() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, boxes);
        FormHarness h;
        h.openPort();
        h.feed(hex("4014CA") + QByteArray(18, 7) + hex("23"));
        h.feed(bytes);
        auto* dialog = testing::find<config::Dialog2>(h.form.get(), "Dialog2");
        QVERIFY(!dialog->isVisible()); // made for the values, never shown
        const config::OctetTexts texts = dialog->octetTexts();
        QCOMPARE(QStringList(texts.begin(), texts.end()).join(u' '), boxes);
        QCOMPARE(h.messages.shown.size(), 1); // only the request for settings
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
};

QTEST_MAIN(TestReplies)
#include "tst_replies.moc"
