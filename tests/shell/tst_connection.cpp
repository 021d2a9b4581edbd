// The connection state of the main window: opening, connecting, closing and losing the port, and
// what the buttons, the port button's caption and the messages show in each state.
#include "FormHarness.h"

#include <QSignalSpy>

using testing::FormHarness;
using State = shell::ConnectionState;

Q_DECLARE_METATYPE(platform::SerialError)

namespace {
const QString kOpen = QStringLiteral("打开串口");
const QString kClose = QStringLiteral("关闭串口");
const QString kChoose = QStringLiteral("请设置串口参数!");
const QString kConnected = QStringLiteral("连接成功!");
const QString kLost = QStringLiteral("串口连接已断开,请检查设备和连接线后重新打开串口!");
const QByteArray kE1 = QByteArray::fromHex("4002E123");

QStringList words(const char* list) {
    return QString::fromLatin1(list).split(QLatin1Char(' '));
}

void run(FormHarness& h, const QString& step) {
    if (step == QLatin1String("choose")) { // the first click asks for the settings: OK
        testing::pressInNextModal(QStringLiteral("Command2"));
        h.click(QStringLiteral("Command2"));
    } else if (step == QLatin1String("click")) {
        h.click(QStringLiteral("Command2"));
    } else if (step == QLatin1String("connect")) {
        h.click(QStringLiteral("Command3"));
        h.feed(kE1);
    } else if (step == QLatin1String("reply")) {
        h.feed(kE1);
    } else if (step == QLatin1String("menu")) { // 通信串口设置(C), then cancel
        testing::pressInNextModal(QStringLiteral("Command1"));
        h.action(QStringLiteral("com_set"))->trigger();
    } else if (step == QLatin1String("lose")) { // a vanished device repeats its error
        for (int i = 0; i < 100; ++i)
            h.serial.fail(platform::SerialError::Resource);
    } else if (step == QLatin1String("writeFails")) {
        h.serial.refuseWrite = true;
        h.click(QStringLiteral("Command3"));
    } else if (step == QLatin1String("replyThenLose")) { // the loss comes within the quiet time
        h.serial.feed(kE1);
        h.serial.fail(platform::SerialError::Read);
        testing::tick(h.form.get(), QStringLiteral("Timer1"));
    } else if (step == QLatin1String("loseDuringBox")) { // two replies in one burst, hang-up meanwhile
        h.messages.whileShown = [&h](const auto&) {
            h.messages.whileShown = nullptr;
            h.serial.fail(platform::SerialError::Resource);
        };
        h.feed(kE1 + kE1);
    }
}
} // namespace

class TestConnection : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void states_data();
    void states();
    void openFailures_data();
    void openFailures();
};

void TestConnection::states_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("buttons"); // 连接设备, 发送, 设置串口参数, 同步串口参数
    QTest::addColumn<bool>("netset");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QList<State>>("changes");
    const QList<State> none;
    QTest::newRow("first click asks")
        << words("choose") << kOpen << "0000" << false << QStringList{kChoose} << none;
    QTest::newRow("open") << words("choose click") << kClose << "1000" << false << QStringList{kChoose}
                          << QList{State::Open};
    QTest::newRow("connected") << words("choose click connect") << kClose << "1111" << true
                               << QStringList{kChoose, kConnected} << QList{State::Open, State::Connected};
    QTest::newRow("closed") << words("choose click connect click") << kOpen << "0000" << true
                            << QStringList{kChoose, kConnected}
                            << QList{State::Open, State::Connected, State::Closed};
    QTest::newRow("reopened") << words("choose click connect click click") << kClose << "1000" << true
                              << QStringList{kChoose, kConnected}
                              << QList{State::Open, State::Connected, State::Closed, State::Open};
    QTest::newRow("settings menu closes")
        << words("choose click connect menu") << kOpen << "0000" << true << QStringList{kChoose, kConnected}
        << QList{State::Open, State::Connected, State::Closed};
    QTest::newRow("lost once") << words("choose click connect lose") << kOpen << "0000" << true
                               << QStringList{kChoose, kConnected, kLost}
                               << QList{State::Open, State::Connected, State::Closed};
    QTest::newRow("failed write is a loss")
        << words("choose click writeFails") << kOpen << "0000" << false << QStringList{kChoose, kLost}
        << QList{State::Open, State::Closed};
    QTest::newRow("reply just before the loss")
        << words("choose click replyThenLose") << kOpen << "0000" << true
        << QStringList{kChoose, kConnected, kLost} << QList{State::Open, State::Connected, State::Closed};
    QTest::newRow("lost while the box is open")
        << words("choose click loseDuringBox") << kOpen << "0000" << false
        << QStringList{kChoose, kConnected, kLost} << QList{State::Open, State::Closed};
    QTest::newRow("reply to a closed port")
        << words("reply") << kOpen << "0000" << false << QStringList{} << none;
}

void TestConnection::states() {
    QFETCH(QStringList, steps);
    QFETCH(QString, caption);
    QFETCH(QString, buttons);
    QFETCH(bool, netset);
    QFETCH(QStringList, messages);
    QFETCH(QList<State>, changes);
    FormHarness h;
    QSignalSpy spy(h.form.get(), &shell::Form1::connectionStateChanged);
    for (const QString& step : steps)
        run(h, step);

    QCOMPARE(h.button(QStringLiteral("Command2"))->text(), caption);
    QCOMPARE(h.button(QStringLiteral("Command2"))->accessibleName(), caption);
    QCOMPARE(h.deviceButtons(), buttons);
    QCOMPARE(h.action(QStringLiteral("netset"))->isEnabled(), netset);
    QCOMPARE(h.messages.texts(), messages);
    QList<State> seen;
    for (const QList<QVariant>& change : spy)
        seen.append(change.at(0).value<State>());
    QCOMPARE(seen, changes);
    QCOMPARE(h.form->connectionState(), changes.isEmpty() ? State::Closed : changes.last());
    QCOMPARE(h.serial.isOpen(), caption == kClose);
    if (h.serial.isOpen()) // the port the dialog chose by default, opened by its name, 9600 8N1
        QCOMPARE(h.serial.openings.last().portName, QStringLiteral("COM3"));
    QCOMPARE(h.serial.closeCalls, h.serial.openings.size() - (h.serial.isOpen() ? 1 : 0));
    if (steps.contains(QStringLiteral("connect")))
        QCOMPARE(h.serial.writes.first(), QByteArray::fromHex("4002F123"));
    testing::tick(h.form.get(), QStringLiteral("Timer1")); // nothing is handled twice
    QCOMPARE(h.messages.texts(), messages);
}

void TestConnection::openFailures_data() {
    QTest::addColumn<QStringList>("ports");
    QTest::addColumn<platform::SerialError>("error");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");
    const QStringList two{QStringLiteral("COM1"), QStringLiteral("COM3")};
    QTest::newRow("not found") << two << platform::SerialError::DeviceNotFound << "SETPASS"
                               << QStringLiteral("没有发现此串口!请检查串口号和连接线。");
    QTest::newRow("in use") << two << platform::SerialError::InUse << "SETPASS"
                            << QStringLiteral("此串口已被其他程序占用!请关闭占用它的程序后再打开。");
    QTest::newRow("no permission") << two << platform::SerialError::Permission << "SETPASS"
                                   << QStringLiteral("没有权限打开此串口!请把当前用户加入dialout组"
                                                     "(sudo usermod -aG dialout $USER),重新登录后再打开。");
    QTest::newRow("other") << two << platform::SerialError::Open << "SETPASS"
                           << QStringLiteral("没有发现此串口或被占用!");
    QTest::newRow("no port listed") << QStringList{} << platform::SerialError::NoError << "注意"
                                    << QStringLiteral("未发现串口!");
}

void TestConnection::openFailures() {
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
    QCOMPARE(h.button(QStringLiteral("Command2"))->text(), kOpen);
    QCOMPARE(h.deviceButtons(), QStringLiteral("0000"));
    h.serial.refuseOpen = platform::SerialError::NoError; // free again: the next click opens
    h.click(QStringLiteral("Command2"));
    QCOMPARE(h.serial.isOpen(), !ports.isEmpty());
}

QTEST_MAIN(TestConnection)
#include "tst_connection.moc"
