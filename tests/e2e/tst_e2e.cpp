// SPDX-License-Identifier: MIT
// The real window and serial port against an expander-sim process, one path per feature. With
// EXPANDER_SCREENSHOT=FILE.png, setSyncRestore and toolsFindWriteCompareAndLog save the window there.
#include "FormHarness.h"
#include "SimProcess.h"
#include "config/ProfileFile.h"
#include "config/ui/Dialog2.h"
#include "device/Request.h"
#include "platform/QtSerialControl.h"
#include "platform/SimRegistry.h"
#include "shell/App.h"

#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>

using testing::find;

namespace {
// Only the simulators' ports: no test writes to a port of the machine, "查找设备" included.
struct SimulatorPorts final : platform::PortList {
    QStringList ports() const override { return platform::SimRegistry::ports(); }
};

// The program as the operator runs it, except that message boxes are answered at once.
struct Program {
    QTemporaryDir runtime;
    std::unique_ptr<testing::SimProcess> sim;
    platform::QtSerialControl serial;
    SimulatorPorts ports;
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
        static_cast<void>(QTest::qWaitFor([&] { return messages.texts().count(message) >= count; }, 3000));
        return messages.texts().count(message) == count;
    }
};
} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void setSyncRestore() {
        Program p;
        QVERIFY(p.connect());
        QCOMPARE(p.text1(), u"4002E123"_s);
        QVERIFY(p.sim->log().contains(u"rx 4002F123"_s));
        p.get<QComboBox>("Combo1")->setCurrentIndex(4);
        p.get<QPlainTextEdit>("Text1")->setPlainText(u"01 02 03 40 23"_s);
        p.get("Command1")->click();
        QTRY_VERIFY(p.sim->log().contains(u"rx 4008DD05010203402323"_s)); // the device takes it for port 5
        QVERIFY(!p.sim->log().contains(u"rejected"_s));
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
        if (qEnvironmentVariableIsSet("EXPANDER_SCREENSHOT")) {
            p.get<QPlainTextEdit>("Text1")->setPlainText(u"01 02 03"_s);
            p.get("Command8")->click();
            QVERIFY(p.app->window().grab().save(qEnvironmentVariable("EXPANDER_SCREENSHOT")));
        }
        p.get<QAction>("Easer")->trigger();
        QTRY_VERIFY(p.text1().endsWith(u"\n还原设置成功,请重新上电初始化所有参数,此过程将耗时数秒钟!\n"_s));
    }

    void deviceKilledMidRequestEndsClosed() {
        const QString lost = u"串口连接已断开,请检查设备和连接线后重新打开串口!"_s;
        Program p({u"--delay"_s, u"2000"_s});
        QVERIFY(p.open());
        p.get("Command3")->click(); // the answer would come in 2 s
        QTRY_VERIFY(p.sim->log().contains(u"rx 4002F123"_s));
        p.sim->kill();
        QVERIFY(p.waitFor(lost));
        QCoreApplication::processEvents();           // the errors queued before the port closed, and no more
        QCOMPARE(p.messages.texts().count(lost), 1); // one notice, not one per error of the vanished port
        QCOMPARE(p.get("Command2")->text(), u"打开串口"_s);
        QVERIFY(!p.get("Command3")->isEnabled());
        QVERIFY(platform::SimRegistry::ports().isEmpty()); // its leftover link is not offered
    }

    void toolsFindWriteCompareAndLog() {
        // Every sixth reply with a wrong end byte: the one to the second connect below.
        Program p({u"--main-baud"_s, u"38400"_s, u"--corrupt-end-every"_s, u"7"_s});
        QMainWindow& w = p.app->window();
        QTemporaryDir dir;
        const auto differences = [&w] { return w.findChildren<QWidget*>(u"differenceMark"_s).size(); };

        QString chosen;
        testing::onNextModal(
            [&](QDialog* d) {
                testing::onNextModal(
                    [](QDialog* f) {
                        static_cast<void>(QTest::qWaitFor(
                            [f] { return find<QPushButton>(f, "stopButton")->text() == u"重新查找"; },
                            20000));
                        auto* use = find<QPushButton>(f, "useButton"); // the device found is already selected
                        (use->isEnabled() ? use : find<QPushButton>(f, "closeButton"))->click();
                    },
                    u"FindDeviceDialog"_s);
                find<QPushButton>(d, "findButton")->click();
                chosen = find<QComboBox>(d, "Combo1")->currentText() + u' ' +
                         find<QComboBox>(d, "Combo2")->currentText();
                find<QPushButton>(d, "Command2")->click();
            },
            u"Dialog"_s);
        p.get<QAction>("com_set")->trigger();
        QCOMPARE(chosen, p.sim->registeredPath() + u" 38400"_s);
        p.get("Command2")->click();
        p.get("Command3")->click();
        QVERIFY(p.waitFor(u"连接成功!"_s));

        // The profile the operator keeps, with the main port where the device listens.
        const QString kept = dir.filePath(u"unit.json"_s);
        auto profile = config::ProfileFile::read(QStringLiteral(EXAMPLE_PROFILE)).value();
        profile.mainBaud = u"38400"_s;
        QVERIFY(config::ProfileFile::write(kept, profile).ok());
        p.files.file = kept;
        p.get<QAction>("openProfile")->trigger();
        p.get("Command6")->click();
        QVERIFY(p.waitFor(u"扩展串口数据同步成功!"_s));
        QCOMPARE(differences(), 18); // the device still holds its defaults

        p.get<QAction>("openProfile")->trigger();
        p.get<QAction>("writeAndVerify")->trigger(); // written, read back, one message
        QVERIFY(p.waitFor(u"校验完成：设备中的配置与写入的一致。"_s));
        QCOMPARE(differences(), 0);
        // What expander-cli write sends for this profile is what went over the line.
        const QByteArray written = device::Request::writePorts(profile.toConfiguration().value()).bytes;
        QVERIFY(p.sim->log().contains(u"rx "_s + QString::fromLatin1(written.toHex().toUpper())));
        p.get("Command3")->click(); // its answer arrives with a wrong end byte
        QTRY_COMPARE(testing::logRows(&w).last(), u"接收|40 02 E1 24|无效帧: 结束字节为 24"_s);
        QCOMPARE(testing::logRows(&w).mid(1, 2),
                 (QStringList{u"事件||打开串口 "_s + p.sim->registeredPath() + u" 38400,N,8,1"_s,
                              u"发送|40 02 F1 23|连接设备"_s}));
        if (qEnvironmentVariableIsSet("EXPANDER_SCREENSHOT")) {
            p.get<QAction>("trafficLog")->trigger();
            QScrollBar* rows = find<QTableView>(&w, "trafficView")->verticalScrollBar();
            QTRY_COMPARE(rows->value(), rows->maximum()); // scrolled to its newest row
            QVERIFY(w.grab().save(qEnvironmentVariable("EXPANDER_SCREENSHOT")));
        }
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
