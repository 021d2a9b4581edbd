// The connection state of the main window: opening, connecting, closing and losing the port, and
// what the buttons, the port button's caption and the messages show in each state.
#include "FormHarness.h"

#include <QSignalSpy>

using testing::FormHarness;
using State = shell::ConnectionState;

Q_DECLARE_METATYPE(platform::SerialError)

namespace {
const QString kOpen = u"打开串口"_s;
const QString kClose = u"关闭串口"_s;
const QString kChoose = u"请设置串口参数!"_s;
const QString kConnected = u"连接成功!"_s;
const QString kLost = u"串口连接已断开,请检查设备和连接线后重新打开串口!"_s;
const QByteArray kE1 = QByteArray::fromHex("4002E123");

void run(FormHarness& h, const QString& step) {
    if (step == u"choose") { // the first click asks for the settings: OK
        testing::pressInNextModal("Command2");
        h.click("Command2");
    } else if (step == u"click") {
        h.click("Command2");
    } else if (step == u"connect") {
        h.click("Command3");
        h.feed(kE1);
    } else if (step == u"reply") {
        h.feed(kE1);
    } else if (step == u"menu") { // 通信串口设置(C), then cancel
        testing::pressInNextModal("Command1");
        h.action("com_set")->trigger();
    } else if (step == u"lose") { // a vanished device repeats its error
        for (int i = 0; i < 100; ++i)
            h.serial.fail(platform::SerialError::Resource);
    } else if (step == u"writeFails") {
        h.serial.refuseWrite = true;
        h.click("Command3");
    } else if (step == u"replyThenLose") { // the loss comes within the quiet time
        h.serial.feed(kE1);
        h.serial.fail(platform::SerialError::Read);
        testing::tick(h.form.get(), "Timer1");
    } else if (step == u"loseDuringBox") { // a burst of replies, and a hang-up while the first box waits
        h.messages.whileShown = [&h](const auto&) {
            h.messages.whileShown = nullptr;
            h.serial.fail(platform::SerialError::Resource);
        };
        h.feed(kE1 + QByteArray::fromHex("401CFB" + QByteArray("080302").repeated(8) + "080123"));
    }
}
} // namespace

class TestConnection : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void states_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("buttons"); // 连接设备, 发送, 设置串口参数, 同步串口参数, 网络参数设置
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QList<State>>("changes");
        const QList<State> o{State::Open}, oc{State::Open, State::Closed}, ocn{State::Open, State::Connected},
            ocnc{State::Open, State::Connected, State::Closed};
        QTest::newRow("first click asks") << "choose"
                                          << "00000" << QStringList{kChoose} << QList<State>();
        QTest::newRow("open") << "choose click"
                              << "10000" << QStringList{kChoose} << o;
        QTest::newRow("connected") << "choose click connect"
                                   << "11111" << QStringList{kChoose, kConnected} << ocn;
        QTest::newRow("a second connect reply")
            << "choose click connect reply"
            << "11111" << QStringList{kChoose, kConnected, kConnected} << ocn;
        QTest::newRow("closed") << "choose click connect click"
                                << "00001" << QStringList{kChoose, kConnected} << ocnc;
        QTest::newRow("reopened") << "choose click connect click click"
                                  << "10001" << QStringList{kChoose, kConnected} << ocnc + o;
        QTest::newRow("settings menu closes") << "choose click connect menu"
                                              << "00001" << QStringList{kChoose, kConnected} << ocnc;
        QTest::newRow("lost once") << "choose click connect lose"
                                   << "00001" << QStringList{kChoose, kConnected, kLost} << ocnc;
        QTest::newRow("failed write is a loss") << "choose click writeFails"
                                                << "00000" << QStringList{kChoose, kLost} << oc;
        QTest::newRow("reply just before the loss")
            << "choose click replyThenLose"
            << "00001" << QStringList{kChoose, kConnected, kLost} << ocnc;
        QTest::newRow("lost while the box is open")
            << "choose click loseDuringBox"
            << "00000" << QStringList{kChoose, kConnected, kLost} << oc;
        QTest::newRow("reply to a closed port") << "reply"
                                                << "00000" << QStringList{} << QList<State>();
    }

    void states() {
        QFETCH(QString, steps);
        QFETCH(QString, buttons);
        QFETCH(QStringList, messages);
        QFETCH(QList<State>, changes);
        FormHarness h;
        QSignalSpy spy(h.form.get(), &shell::Form1::connectionStateChanged);
        for (const QString& step : steps.split(u' '))
            run(h, step);
        const QString caption = changes.isEmpty() || changes.last() == State::Closed ? kOpen : kClose;
        QCOMPARE(h.button("Command2")->text(), caption);
        QCOMPARE(h.button("Command2")->accessibleName(), caption);
        QCOMPARE(h.deviceButtons() + (h.action("netset")->isEnabled() ? u'1' : u'0'), buttons);
        QCOMPARE(h.messages.texts(), messages);
        QList<State> seen;
        for (const QList<QVariant>& change : spy)
            seen.append(change.at(0).value<State>());
        QCOMPARE(seen, changes);
        QCOMPARE(h.form->connectionState(), changes.isEmpty() ? State::Closed : changes.last());
        QCOMPARE(h.serial.isOpen(), caption == kClose);
        if (h.serial.isOpen()) // the port the dialog chose by default, opened by its name
            QCOMPARE(h.serial.openings.last().portName, u"COM3"_s);
        QCOMPARE(h.serial.closeCalls, h.serial.openings.size() - (h.serial.isOpen() ? 1 : 0));
        if (steps.contains(u"connect"))
            QCOMPARE(h.serial.writes.first(), QByteArray::fromHex("4002F123"));
        testing::tick(h.form.get(), "Timer1"); // nothing is handled twice
        QCOMPARE(h.messages.texts(), messages);
    }

    void openFailures_data() {
        QTest::addColumn<QStringList>("ports");
        QTest::addColumn<platform::SerialError>("error");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        const QStringList two{u"COM1"_s, u"COM3"_s};
        using E = platform::SerialError;
        QTest::newRow("not found") << two << E::DeviceNotFound << "SETPASS"
                                   << "没有发现此串口!请检查串口号和连接线。";
        QTest::newRow("in use") << two << E::InUse << "SETPASS"
                                << "此串口已被其他程序占用!请关闭占用它的程序后再打开。";
        QTest::newRow("no permission")
            << two << E::Permission << "SETPASS"
            << "没有权限打开此串口!请把当前用户加入dialout组(sudo usermod -aG dialout "
               "$USER),重新登录后再打开。";
        QTest::newRow("other") << two << E::Open << "SETPASS"
                               << "没有发现此串口或被占用!";
        QTest::newRow("no port listed") << QStringList() << E::NoError << "注意"
                                        << "未发现串口!";
    }

    void openFailures() {
        QFETCH(QStringList, ports);
        QFETCH(platform::SerialError, error);
        QFETCH(QString, title);
        QFETCH(QString, message);
        FormHarness h(ports);
        h.serial.refuseOpen = error;
        h.openPort();
        QCOMPARE(h.messages.texts(), (QStringList{kChoose, message}));
        QCOMPARE(h.messages.shown[1].title, title);
        QVERIFY(h.messages.shown[1].icon == platform::MessageBoxes::Icon::Information);
        QCOMPARE(h.button("Command2")->text(), kOpen);
        QCOMPARE(h.deviceButtons(), u"0000"_s);
        h.serial.refuseOpen = platform::SerialError::NoError; // free again: the next click opens
        h.click("Command2");
        QCOMPARE(h.serial.isOpen(), !ports.isEmpty());
    }
};

QTEST_MAIN(TestConnection)
#include "tst_connection.moc"
