// The window's tools against the device simulator, as a new user meets them: the device listens at
// 38400 on its main port; find it, connect, open a profile and see what the device holds apart from
// it, write it and see nothing apart, save the profile again and the traffic log.
// With EXPANDER_SCREENSHOT=FILE.png the window is pictured there with its traffic log open.
#include "FormHarness.h"
#include "SimProcess.h"
#include "config/ProfileFile.h"
#include "device/Request.h"
#include "platform/QtSerialControl.h"
#include "platform/SimRegistry.h"
#include "shell/App.h"

#include <QDockWidget>
#include <QLabel>
#include <QTableView>
#include <QTemporaryDir>

using testing::find;

namespace {
// Only the simulator's ports: the test never writes to a port of the machine.
struct SimulatorPorts final : platform::PortList {
    QStringList ports() const override { return platform::SimRegistry::ports(); }
};
} // namespace

class TestToolsEndToEnd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void findWriteCompareAndLog();
};

void TestToolsEndToEnd::findWriteCompareAndLog() {
    QTemporaryDir dir;
    qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
    // Every sixth reply with a wrong end byte: the one to the second connect below.
    testing::SimProcess sim(QStringLiteral(SIM_PATH),
                            {u"--main-baud"_s, u"38400"_s, u"--corrupt-end-every"_s, u"6"_s}, dir.path());
    QVERIFY(sim.started());
    platform::QtSerialControl serial;
    SimulatorPorts ports;
    platform::FakeMessageBoxes messages;
    platform::FakeSingleInstance instance;
    platform::FakeFileDialogs files;
    const auto ownPort = [](const QString&) { return std::make_unique<platform::QtSerialControl>(); };
    shell::App app({serial, ports, messages, instance, files, ownPort});
    QVERIFY(app.Main());
    QMainWindow& w = app.window();
    const auto click = [&w](const char* name) { find<QPushButton>(&w, name)->click(); };
    const auto waitFor = [&messages](const QString& text, int count = 1) {
        return QTest::qWaitFor([&] { return messages.texts().count(text) == count; }, 5000);
    };
    const auto differences = [&w] { return w.findChildren<QWidget*>(u"differenceMark"_s).size(); };

    QString chosen;
    testing::inNextDialog(u"Dialog"_s, [&](QDialog* d) {
        testing::inNextDialog(u"FindDeviceDialog"_s, [](QDialog* f) {
            QTRY_COMPARE_WITH_TIMEOUT(find<QPushButton>(f, "stopButton")->text(), u"重新查找"_s, 20000);
            find<QPushButton>(f, "useButton")->click(); // the device found is already selected
        });
        find<QPushButton>(d, "findButton")->click();
        chosen =
            find<QComboBox>(d, "Combo1")->currentText() + u' ' + find<QComboBox>(d, "Combo2")->currentText();
        find<QPushButton>(d, "Command2")->click();
    });
    find<QAction>(&w, "com_set")->trigger();
    QCOMPARE(chosen, sim.registeredPath() + u" 38400"_s);
    click("Command2");
    click("Command3");
    QVERIFY(waitFor(u"连接成功!"_s));

    // The profile the operator keeps, with the main port where the device listens.
    const QString kept = dir.filePath(u"unit.json"_s);
    auto profile = config::ProfileFile::read(QStringLiteral(EXAMPLE_PROFILE)).value();
    profile.mainBaud = u"38400"_s;
    QVERIFY(config::ProfileFile::write(kept, profile).ok());
    files.file = kept;
    find<QAction>(&w, "openProfile")->trigger();
    click("Command6");
    QVERIFY(waitFor(u"扩展串口数据同步成功!"_s));
    QCOMPARE(differences(), 18); // the device still holds its defaults
    QVERIFY(find<QLabel>(&w, "statusLine")->text().endsWith(u"| 已连接 | 18 处不同"_s));

    find<QAction>(&w, "openProfile")->trigger();
    click("Command4");
    QVERIFY(waitFor(u"设置扩展串口数据成功!请重启设备应用新的通迅波特率!"_s));
    click("Command6");
    QVERIFY(waitFor(u"扩展串口数据同步成功!"_s, 2));
    QCOMPARE(differences(), 0);
    QVERIFY(find<QLabel>(&w, "statusLine")->text().endsWith(u"| 已连接 | 与配置一致"_s));
    // What expander-cli write sends for this profile is what went over the line.
    const QByteArray written = device::Request::writePorts(profile.toConfiguration().value()).bytes;
    QVERIFY(sim.log().contains(u"rx "_s + QString::fromLatin1(written.toHex().toUpper())));
    files.file = dir.filePath(u"again.json"_s);
    find<QAction>(&w, "saveProfile")->trigger();
    QFile again(files.file);
    QVERIFY(again.open(QIODevice::ReadOnly));
    QCOMPARE(again.readAll(), config::ProfileFile::toJson(profile)); // the network values came back too

    click("Command3"); // its answer arrives with a wrong end byte
    const QAbstractItemModel* log = find<QTableView>(&w, "trafficView")->model();
    const auto row = [log](int r) {
        return QStringList{log->index(r, 1).data().toString(), log->index(r, 2).data().toString(),
                           log->index(r, 3).data().toString()}
            .join(u'|');
    };
    QTRY_COMPARE(row(log->rowCount() - 1), u"接收|40 02 E1 24|无效帧: 结束字节为 24"_s);
    QStringList rows;
    for (int r = 0; r < log->rowCount(); ++r)
        rows << row(r);
    const QString settings = sim.registeredPath() + u" 38400,N,8,1"_s;
    QCOMPARE(rows.mid(1, 3), (QStringList{u"事件||打开串口 "_s + settings, u"发送|40 02 F1 23|连接设备"_s,
                                          u"接收|40 02 E1 23|连接成功"_s}));
    QVERIFY(rows.contains(
        u"发送|%1|设置串口参数: 串口1 115200 8N1 RS232 串口2 115200 8N1 RS232 串口3 9600 8E1 "
        u"RS485半双工 串口4 9600 8E1 RS485半双工 串口5 19200 8N2 RS485全双工 串口6 19200 8N2 "
        u"RS485全双工 串口7 38400 7O1 RS232 串口8 38400 7O1 RS232 串口0 38400 接收输出 允许"_s.arg(
            QString::fromLatin1(written.toHex(' ').toUpper()))));
    QVERIFY(rows.contains(u"接收|40 02 E2 23|设置串口参数成功"_s));
    QVERIFY(rows.contains(u"事件||比较: 设备与写入的配置一致"_s));

    find<QAction>(&w, "trafficLog")->trigger();
    files.file = dir.filePath(u"traffic.csv"_s);
    find<QPushButton>(find<QDockWidget>(&w, "TrafficLogPane"), "saveLog")->click();
    QFile csv(files.file);
    QVERIFY(csv.open(QIODevice::ReadOnly) &&
            csv.readAll().contains(",接收,40 02 E1 24,无效帧: 结束字节为 24\r\n"));
    if (qEnvironmentVariableIsSet("EXPANDER_SCREENSHOT")) {
        testing::spin(100); // the table scrolls to its newest row
        QVERIFY(w.grab().save(qEnvironmentVariable("EXPANDER_SCREENSHOT")));
    }
}

QTEST_MAIN(TestToolsEndToEnd)
#include "tst_e2e_tools.moc"
