// The whole program against the device simulator: the real window and serial port on one side, a
// separate expander-sim process on a pseudo-terminal on the other. One path per feature, and each
// way the line may deliver a reply: delayed, split, doubled, corrupted, behind garbage, lost.
// With EXPANDER_SCREENSHOT=FILE.png, setSyncRestore also saves the window's picture there.
#include "FormHarness.h"
#include "SimProcess.h"
#include "config/ui/Dialog2.h"
#include "platform/QtSerialControl.h"
#include "platform/SimRegistry.h"
#include "platform/SystemPortList.h"
#include "shell/App.h"

#include <QRegularExpression>
#include <QTemporaryDir>

using testing::find;

namespace {
const QString kLost = u"串口连接已断开,请检查设备和连接线后重新打开串口!"_s;

// The program as the operator runs it, except that message boxes are answered at once.
struct Program {
    QTemporaryDir runtime;
    std::unique_ptr<testing::SimProcess> sim;
    platform::QtSerialControl serial;
    platform::SystemPortList ports;
    platform::FakeMessageBoxes messages;
    platform::FakeSingleInstance instance;
    platform::FakeFileDialogs files;
    std::unique_ptr<shell::App> app;

    explicit Program(const QStringList& simArguments = {}) {
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
        sim = std::make_unique<testing::SimProcess>(QStringLiteral(SIM_PATH), simArguments, runtime.path());
        const auto ownPort = [](const QString&) { return std::make_unique<platform::QtSerialControl>(); };
        app =
            std::make_unique<shell::App>(shell::Services{serial, ports, messages, instance, files, ownPort});
        app->Main();
    }
    template <typename T = QPushButton> T* get(const char* name) { return find<T>(&app->window(), name); }
    QString text1() { return get<QPlainTextEdit>("Text1")->toPlainText(); }
    QList<QComboBox*> panels() { return app->window().centralWidget()->findChildren<QComboBox*>(); }
    QStringList shown() {
        QStringList texts;
        for (QComboBox* c : panels())
            texts << c->currentText();
        return texts;
    }
    // 打开串口 asks for the settings, where the simulator's port is the last and so chosen; OK;
    // 打开串口 again.
    bool open() {
        QString chosen;
        testing::onNextModal([&chosen](QDialog* d) {
            chosen = find<QComboBox>(d, "Combo1")->currentText();
            find<QPushButton>(d, "Command2")->click();
        });
        get("Command2")->click();
        get("Command2")->click();
        return chosen == sim->registeredPath() && serial.isOpen();
    }
    // Open, then 连接设备 and its confirmation.
    bool connect() {
        if (!open())
            return false;
        get("Command3")->click();
        return waitFor(u"连接成功!"_s);
    }
    // Waits up to 3 s until `message` has been shown `count` times.
    bool waitFor(const QString& message, int count = 1) {
        for (int i = 0; i < 100 && messages.texts().count(message) < count; ++i)
            testing::spin(30);
        return messages.texts().count(message) == count;
    }
};
} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void setSyncRestore();
    void networkWriteThenRead();
    void consoleFrameReachesPortFive();
    void repliesAsTheLineDeliversThem_data();
    void repliesAsTheLineDeliversThem();
    void deviceKilledMidRequestEndsClosed();
};

void TestEndToEnd::setSyncRestore() {
    Program p;
    QVERIFY(p.connect());
    QCOMPARE(p.text1(), u"4002E123"_s);
    QVERIFY(p.sim->log().contains(u"rx 4002F123"_s));
    int k = 0;
    for (QComboBox* c : p.panels())
        c->setCurrentIndex(++k % c->count()); // every list something other than the defaults
    const QStringList set = p.shown();
    p.get("Command4")->click();
    QVERIFY(p.waitFor(u"设置扩展串口数据成功!请重启设备应用新的通迅波特率!"_s));
    for (QComboBox* c : p.panels())
        c->setCurrentIndex(c->objectName() == u"Combo1" ? k % 8 : -1);
    p.get("Command6")->click();
    QVERIFY(p.waitFor(u"扩展串口数据同步成功!"_s));
    QCOMPARE(p.shown(), set);
    if (qEnvironmentVariableIsSet("EXPANDER_SCREENSHOT")) {
        p.get<QPlainTextEdit>("Text1")->setPlainText(u"01 02 03"_s);
        p.get("Command8")->click();
        QVERIFY(p.app->window().grab().save(qEnvironmentVariable("EXPANDER_SCREENSHOT")));
    }
    p.get<QAction>("Easer")->trigger();
    for (int i = 0; i < 100 && !p.text1().contains(u"还原设置成功"); ++i)
        testing::spin(30);
    QVERIFY(p.text1().endsWith(u"\n还原设置成功,请重新上电初始化所有参数,此过程将耗时数秒钟!\n"_s));
}

void TestEndToEnd::networkWriteThenRead() {
    Program p;
    QVERIFY(p.connect());
    const QStringList written = u"2 4 6 8 10 12 10 0 0 7 255 255 0 0 10 0 0 1"_s.split(u' ');
    testing::onNextModal([&](QDialog* d) {
        for (int i = 0; i < 18; ++i)
            qobject_cast<config::Dialog2*>(d)->setOctetText(i, written[i]);
        find<QPushButton>(d, "OKButton")->click();
    });
    p.get<QAction>("netset")->trigger(); // returns when the confirmation hides the dialog
    QVERIFY(p.waitFor(u"网络参数设置成功,请重新上电初始化网络参数!"_s));
    QStringList read;
    QPoint place;
    testing::onNextModal([&](QDialog* d) {
        place = d->pos();
        d->move(place + QPoint(30, 20)); // kept for the next showing
        d->reject();
    });
    p.get<QAction>("netset")->trigger();
    testing::onNextModal([&](QDialog* d) {
        QCOMPARE(d->pos(), place + QPoint(30, 20));
        find<QPushButton>(d, "Command2")->click(); // every box 0
        find<QPushButton>(d, "Command1")->click(); // read them back
        QTRY_COMPARE_WITH_TIMEOUT(find<QLineEdit>(d, "Text1_17")->text(), u"1"_s, 3000);
        const config::OctetTexts texts = qobject_cast<config::Dialog2*>(d)->octetTexts();
        read = QStringList(texts.begin(), texts.end());
        d->reject();
    });
    p.get<QAction>("netset")->trigger();
    QCOMPARE(read, written);
}

void TestEndToEnd::consoleFrameReachesPortFive() {
    Program p;
    QVERIFY(p.connect());
    p.get<QComboBox>("Combo1")->setCurrentIndex(4);
    p.get<QPlainTextEdit>("Text1")->setPlainText(u"01 02 03 40 23"_s);
    p.get("Command1")->click();
    QTRY_VERIFY(p.sim->log().contains(u"rx 4008DD05010203402323"_s)); // the device takes it for port 5
    QVERIFY(!p.sim->log().contains(u"rejected"_s));
}

void TestEndToEnd::repliesAsTheLineDeliversThem_data() {
    QTest::addColumn<QStringList>("fault"); // the simulator's options
    QTest::addColumn<QString>("shown");     // what the command line shows, as a pattern
    QTest::addColumn<bool>("acted");        // the confirmation shown once and the buttons unlocked
    QTest::newRow("clean") << QStringList() << "4002E123" << true;
    QTest::newRow("delayed") << QStringList{u"--delay"_s, u"100"_s} << "4002E123" << true;
    QTest::newRow("split 20 ms apart: one reply")
        << QStringList{u"--split-gap"_s, u"20"_s} << "4002E123" << true;
    QTest::newRow("split 60 ms apart: two halves")
        << QStringList{u"--split-gap"_s, u"60"_s} << "E123" << false;
    QTest::newRow("doubled: one box") << QStringList{u"--double"_s} << "4002E1234002E123" << true;
    QTest::newRow("end byte corrupted")
        << QStringList{u"--corrupt-end-every"_s, u"1"_s} << "4002E124" << false;
    QTest::newRow("garbage in front")
        << QStringList{u"--garbage"_s, u"3"_s} << "([0-9A-F]{2}){3}4002E123" << false;
    QTest::newRow("dropped") << QStringList{u"--drop-every"_s, u"1"_s} << "" << false;
}

void TestEndToEnd::repliesAsTheLineDeliversThem() {
    QFETCH(QStringList, fault);
    QFETCH(QString, shown);
    QFETCH(bool, acted);
    Program p(fault);
    QVERIFY(p.open());
    p.get("Command3")->click();
    for (int i = 0; i < 100 && !p.sim->log().contains(u" tx "_s); ++i)
        testing::spin(30);
    testing::spin(250); // the rest of a split reply and the quiet time
    QVERIFY2(QRegularExpression(u"^%1$"_s.arg(shown)).match(p.text1()).hasMatch(), qPrintable(p.text1()));
    QCOMPARE(p.messages.texts().count(u"连接成功!"_s), acted ? 1 : 0);
    QCOMPARE(p.get("Command4")->isEnabled(), acted);
    QVERIFY(!p.sim->log().contains(u"rejected"_s)); // the program's frame was well formed
}

void TestEndToEnd::deviceKilledMidRequestEndsClosed() {
    Program p({u"--delay"_s, u"2000"_s});
    QVERIFY(p.open());
    p.get("Command3")->click(); // the answer would come in 2 s
    QTRY_VERIFY(p.sim->log().contains(u"rx 4002F123"_s));
    p.sim->kill();
    QVERIFY(p.waitFor(kLost));
    testing::spin(200);
    QCOMPARE(p.messages.texts().count(kLost), 1); // one notice, not one per error of the vanished port
    QCOMPARE(p.get("Command2")->text(), u"打开串口"_s);
    QVERIFY(!p.get("Command3")->isEnabled());
    QVERIFY(platform::SimRegistry::ports().isEmpty()); // its leftover link is not offered
}

QTEST_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
