// The whole program against the device simulator: the real window and serial port on one side, a
// separate expander-sim process on a pseudo-terminal on the other. One path per feature.
#include "FormHarness.h"
#include "SimProcess.h"
#include "config/ui/Dialog2.h"
#include "platform/QtSerialControl.h"
#include "platform/SimRegistry.h"
#include "platform/SystemPortList.h"

#include <QTemporaryDir>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

using testing::find;
using testing::SimProcess;

namespace {

// The program as the operator runs it, except that message boxes are answered at once.
struct Program {
    QTemporaryDir runtime;
    std::unique_ptr<SimProcess> sim;
    platform::QtSerialControl serial;
    platform::SystemPortList ports;
    platform::FakeMessageBoxes messages;
    platform::FakeSingleInstance instance;
    std::unique_ptr<shell::Form1> form;

    explicit Program(const QStringList& simArguments = {}) {
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
        sim = std::make_unique<SimProcess>(QStringLiteral(SIM_PATH), simArguments, runtime.path());
        form = std::make_unique<shell::Form1>(shell::Services{serial, ports, messages, instance});
        form->Form_Load();
    }
    QPushButton* button(const char* name) { return find<QPushButton>(form.get(), QLatin1String(name)); }
    QString text1() { return find<QPlainTextEdit>(form.get(), QStringLiteral("Text1"))->toPlainText(); }
    QStringList panels() {
        QStringList texts;
        for (QComboBox* c : form->centralWidget()->findChildren<QComboBox*>())
            if (c->objectName() != QLatin1String("Combo1"))
                texts << c->currentText();
        return texts;
    }

    // The operator's way: 打开串口 asks for the settings, the simulator's port is the last in the
    // list and so chosen; OK; 打开串口 again.
    bool open() {
        QString chosen;
        testing::onNextModal([&chosen](QDialog* d) {
            chosen = find<QComboBox>(d, QStringLiteral("Combo1"))->currentText();
            find<QPushButton>(d, QStringLiteral("Command2"))->click();
        });
        button("Command2")->click();
        button("Command2")->click();
        return chosen == sim->registeredPath() && serial.isOpen();
    }
    // Open, then 连接设备 and its confirmation.
    bool connect() {
        if (!open())
            return false;
        button("Command3")->click();
        return waitFor(QStringLiteral("连接成功!"));
    }
    // Waits up to 3 s until `message` has been shown `count` times.
    bool waitFor(const QString& message, int count = 1) {
        for (int i = 0; i < 100 && messages.texts().count(message) < count; ++i)
            testing::spin(30);
        return messages.texts().count(message) == count;
    }
};

// What comes out of an extension port of the simulator.
QByteArray readPort(const QString& path, int atLeast) {
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    termios raw{};
    ::tcgetattr(fd, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(fd, TCSANOW, &raw);
    QByteArray data;
    char buffer[256];
    for (int i = 0; i < 200 && data.size() < atLeast; ++i) {
        QTest::qWait(10);
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0)
            data.append(buffer, n);
    }
    ::close(fd);
    return data;
}

} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void setSyncRestore();
    void networkWriteThenRead();
    void consoleFrameComesOutOfPortFive();
    void quietTimeJoinsOrSplitsReplies_data();
    void quietTimeJoinsOrSplitsReplies();
    void deviceKilledMidRequestEndsClosed();
};

void TestEndToEnd::setSyncRestore() {
    Program p;
    QVERIFY(p.connect());
    QCOMPARE(p.text1(), QStringLiteral("4002E123"));
    QVERIFY(p.sim->log().contains(QStringLiteral("rx 4002F123")));
    int k = 0;
    for (QComboBox* c : p.form->centralWidget()->findChildren<QComboBox*>())
        c->setCurrentIndex(++k % c->count()); // every list something other than the defaults
    const QStringList set = p.panels();
    p.button("Command4")->click();
    QVERIFY(p.waitFor(QStringLiteral("设置扩展串口数据成功!请重启设备应用新的通迅波特率!")));
    for (QComboBox* c : p.form->centralWidget()->findChildren<QComboBox*>())
        c->setCurrentIndex(-1);
    p.button("Command6")->click();
    QVERIFY(p.waitFor(QStringLiteral("扩展串口数据同步成功!")));
    QCOMPARE(p.panels(), set);

    find<QAction>(p.form.get(), QStringLiteral("Easer"))->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(p.text1().contains(QStringLiteral("还原设置成功")), 3000);
    p.button("Command6")->click();
    QVERIFY(p.waitFor(QStringLiteral("扩展串口数据同步成功!"), 2));
    const QMap<QString, QString> factory{{QStringLiteral("Combo2"), QStringLiteral("9600")},
                                         {QStringLiteral("Combo3"), QStringLiteral("8")},
                                         {QStringLiteral("Combo4"), QStringLiteral("1")},
                                         {QStringLiteral("Combo5"), QStringLiteral("无")},
                                         {QStringLiteral("Combo7"), QStringLiteral("RS232")},
                                         {QStringLiteral("Combo6"), QStringLiteral("9600")},
                                         {QStringLiteral("Combo8"), QStringLiteral("允许")}};
    QStringList defaults;
    for (QComboBox* c : p.form->centralWidget()->findChildren<QComboBox*>())
        if (c->objectName() != QLatin1String("Combo1"))
            defaults << factory.value(c->objectName().left(6));
    QCOMPARE(p.panels(), defaults);
}

void TestEndToEnd::networkWriteThenRead() {
    Program p;
    QVERIFY(p.connect());
    const QStringList written = QStringLiteral("2 4 6 8 10 12 10 0 0 7 255 255 0 0 10 0 0 1").split(u' ');
    testing::onNextModal([&](QDialog* d) {
        for (int i = 0; i < 18; ++i)
            qobject_cast<config::Dialog2*>(d)->setOctetText(i, written[i]);
        find<QPushButton>(d, QStringLiteral("OKButton"))->click();
    });
    find<QAction>(p.form.get(), QStringLiteral("netset"))->trigger(); // returns when the reply hides it
    QVERIFY(p.waitFor(QStringLiteral("网络参数设置成功,请重新上电初始化网络参数!")));
    QStringList read;
    testing::onNextModal([&](QDialog* d) {
        find<QPushButton>(d, QStringLiteral("Command2"))->click(); // every box 0
        find<QPushButton>(d, QStringLiteral("Command1"))->click(); // read them back
        QTRY_COMPARE_WITH_TIMEOUT(find<QLineEdit>(d, QStringLiteral("Text1_17"))->text(), QStringLiteral("1"),
                                  3000);
        const config::OctetTexts texts = qobject_cast<config::Dialog2*>(d)->octetTexts();
        read = QStringList(texts.begin(), texts.end());
        d->reject();
    });
    find<QAction>(p.form.get(), QStringLiteral("netset"))->trigger();
    QCOMPARE(read, written);
}

void TestEndToEnd::consoleFrameComesOutOfPortFive() {
    Program p;
    QVERIFY(p.connect());
    find<QComboBox>(p.form.get(), QStringLiteral("Combo1"))->setCurrentIndex(4);
    find<QPlainTextEdit>(p.form.get(), QStringLiteral("Text1"))
        ->setPlainText(QStringLiteral("01 02 03 40 23"));
    p.button("Command1")->click();
    QCOMPARE(readPort(p.sim->extensionPort(5), 5), QByteArray::fromHex("0102034023"));
}

void TestEndToEnd::quietTimeJoinsOrSplitsReplies_data() {
    QTest::addColumn<int>("gapMs");
    QTest::addColumn<QString>("shown");
    QTest::newRow("20 ms apart: one reply") << 20 << "4002E123";
    QTest::newRow("60 ms apart: two") << 60 << "E123";
}

void TestEndToEnd::quietTimeJoinsOrSplitsReplies() {
    QFETCH(int, gapMs);
    QFETCH(QString, shown);
    Program p({QStringLiteral("--split-gap"), QString::number(gapMs)});
    QVERIFY(p.open());
    p.button("Command3")->click();
    for (int i = 0; i < 100 && p.text1() != shown; ++i)
        testing::spin(30);
    QCOMPARE(p.text1(), shown);
    // Neither half of a split reply is a reply.
    QCOMPARE(p.messages.texts().count(QStringLiteral("连接成功!")), gapMs < 50 ? 1 : 0);
}

void TestEndToEnd::deviceKilledMidRequestEndsClosed() {
    Program p({QStringLiteral("--delay"), QStringLiteral("2000")});
    QVERIFY(p.open());
    p.button("Command3")->click(); // the answer would come in 2 s
    QTRY_VERIFY(p.sim->log().contains(QStringLiteral("rx 4002F123")));
    p.sim->kill();
    const QString lost = QStringLiteral("串口连接已断开,请检查设备和连接线后重新打开串口!");
    QVERIFY(p.waitFor(lost));
    QTest::qWait(200);
    QCOMPARE(p.messages.texts().count(lost), 1); // one notice, not one per error of the vanished port
    QCOMPARE(p.button("Command2")->text(), QStringLiteral("打开串口"));
    QVERIFY(!p.button("Command3")->isEnabled());
    QVERIFY(platform::SimRegistry::ports().isEmpty()); // its leftover link is not offered
}

QTEST_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
