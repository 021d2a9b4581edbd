// What the main window offers beside its designed controls: the traffic log, the comparison after
// a port sync, profiles, a panel copied to all, finding the device, the status line.
#include "FormHarness.h"
#include "config/Describe.h"
#include "config/ProfileFile.h"
#include "config/ui/Dialog2.h"
#include "shell/StatusLine.h"

#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeWidget>

using testing::find;
using testing::FormHarness;
using testing::inNextDialog;

namespace {
QByteArray hex(const QString& digits) {
    return QByteArray::fromHex(digits.toLatin1());
}
// The log's rows from `from` on, as "direction|bytes|meaning".
QStringList logRows(const FormHarness& h, int from = 0) {
    const QAbstractItemModel* log = find<QTableView>(h.form.get(), "trafficView")->model();
    QStringList rows;
    for (int row = from; row < log->rowCount(); ++row)
        rows << QStringList{log->index(row, 1).data().toString(), log->index(row, 2).data().toString(),
                            log->index(row, 3).data().toString()}
                    .join(u'|');
    return rows;
}
QString status(const FormHarness& h) {
    return find<QLabel>(h.form.get(), "statusLine")->text();
}
// The descriptions of the lists that carry a difference mark.
QStringList marks(const FormHarness& h) {
    QStringList found;
    for (QComboBox* list : h.form->centralWidget()->findChildren<QComboBox*>())
        if (!list->accessibleDescription().isEmpty())
            found << list->accessibleDescription();
    const qsizetype drawn = h.form->centralWidget()->findChildren<QWidget*>(u"differenceMark"_s).size();
    return drawn == found.size() ? found : QStringList{u"%1 marks drawn"_s.arg(drawn)};
}
// The texts of all 42 lists of the panels.
QStringList panels(const FormHarness& h) {
    QStringList texts;
    for (QComboBox* list : h.form->centralWidget()->findChildren<QComboBox*>())
        if (list->objectName() != u"Combo1")
            texts << list->currentText();
    return texts;
}
// Every port at 9600 8N1 RS232, main port 115200, output allowed: 08 03 02 eight times, 60 01.
void fillAll(FormHarness& h) {
    const QStringList texts = u"9600 8 1 无 RS232"_s.split(u' ');
    for (int i = 0; i < 8; ++i)
        for (int k = 0; k < 5; ++k)
            h.combo(u"Combo%1_%2"_s.arg(QLatin1Char("23457"[k])).arg(i))->setCurrentText(texts[k]);
    h.combo("Combo6")->setCurrentText(u"115200"_s);
    h.combo("Combo8")->setCurrentIndex(0);
}
const QString kAsWritten = u"401CFB"_s + u"080302"_s.repeated(8) + u"600123"_s;
} // namespace

class TestTools : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void logRowsSayWhatTheWindowDid_data();
    void logRowsSayWhatTheWindowDid();
    void logPaneShowsAndSaves_data();
    void logPaneShowsAndSaves();
    void syncMarksWhatDiffers_data();
    void syncMarksWhatDiffers();
    void profileRoundTripSendsNothing();
    void badProfilesChangeNothing_data();
    void badProfilesChangeNothing();
    void panelCopiedToAll();
    void findDevice_data();
    void findDevice();
    void statusLineText_data();
    void statusLineText();
};

void TestTools::logRowsSayWhatTheWindowDid_data() {
    QTest::addColumn<QStringList>("steps"); // a button to click, hex the device sends, "lose" or "second"
    QTest::addColumn<QStringList>("rows");  // after the port was opened
    const QString connect = u"发送|40 02 F1 23|连接设备"_s;
    QTest::newRow("connect") << QStringList{u"Command3"_s, u"4002E123"_s}
                             << QStringList{connect, u"接收|40 02 E1 23|连接成功"_s};
    QTest::newRow("length byte not examined, as the window does")
        << QStringList{u"4005E123"_s} << QStringList{u"接收|40 05 E1 23|连接成功"_s};
    QTest::newRow("malformed") << QStringList{u"4002E124"_s}
                               << QStringList{u"接收|40 02 E1 24|无效帧: 结束字节为 24"_s};
    QTest::newRow("a burst, reply by reply")
        << QStringList{u"4002E1234002E2"_s}
        << QStringList{u"接收|40 02 E1 23|连接成功 (同一批 1/2)"_s,
                       u"接收|40 02 E2|无效帧: 不完整, 收到 3 字节, 应为 4 (同一批 2/2)"_s};
    QTest::newRow("no answer within a second")
        << QStringList{u"Command3"_s, u"second"_s}
        << QStringList{connect, u"事件|40 02 F1 23|无应答: 连接设备"_s};
    QTest::newRow("answered: no note") << QStringList{u"Command3"_s, u"07"_s, u"second"_s}
                                       << QStringList{connect, u"接收|07|无效帧: 起始字节为 07"_s};
    QTest::newRow("closed") << QStringList{u"Command2"_s} << QStringList{u"事件||关闭串口"_s};
    QTest::newRow("lost") << QStringList{u"Command3"_s, u"lose"_s, u"second"_s}
                          << QStringList{connect, u"事件||关闭串口"_s, u"事件||串口连接已断开"_s};
}

void TestTools::logRowsSayWhatTheWindowDid() {
    QFETCH(QStringList, steps);
    QFETCH(QStringList, rows);
    FormHarness h;
    h.openPort();
    QCOMPARE(logRows(h), QStringList{u"事件||打开串口 COM3 9600,N,8,1"_s});
    for (const QString& step : steps) {
        if (step.startsWith(u"Command"))
            h.click(step);
        else if (step == u"lose")
            h.serial.fail(platform::SerialError::Resource);
        else if (step == u"second" && find<QTimer>(h.form.get(), "answerTimer")->isActive())
            testing::tick(h.form.get(), "answerTimer");
        else if (step != u"second")
            h.feed(hex(step));
    }
    QCOMPARE(logRows(h, 1), rows);
}

void TestTools::logPaneShowsAndSaves_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("start");
    QTest::newRow("csv") << "log.csv"
                         << "文本文件 (*.txt)" << u"\uFEFF时间,方向,数据,含义\r\n"_s;
    QTest::newRow("text") << "log.txt"
                          << "CSV 文件 (*.csv)" << u"\t发送\t40 02 F1 23\t连接设备\n"_s;
    QTest::newRow("text by its filter") << "log"
                                        << "文本文件 (*.txt)" << u"\t发送\t40 02 F1 23\t连接设备\n"_s;
}

void TestTools::logPaneShowsAndSaves() {
    QFETCH(QString, file);
    QFETCH(QString, filter);
    QFETCH(QString, start);
    FormHarness h;
    h.form->show();
    auto* pane = find<QDockWidget>(h.form.get(), "TrafficLogPane");
    const int designed = h.form->height();
    QVERIFY(!pane->isVisible()); // the window opens as designed
    h.openPort();
    h.click("Command3");
    h.action("trafficLog")->trigger(); // Ctrl+L
    QVERIFY(pane->isVisible());
    QVERIFY(h.form->height() >= designed + pane->minimumHeight());
    QTemporaryDir dir;
    h.files.file = dir.filePath(file);
    h.files.filter = filter;
    find<QPushButton>(pane, "saveLog")->click();
    QFile saved(h.files.file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().contains(start.toUtf8())); // a byte-order mark only ever starts a file
    find<QPushButton>(pane, "clearLog")->click();
    QCOMPARE(logRows(h), QStringList());
    h.action("trafficLog")->trigger();
    QCOMPARE(h.form->height(), designed);
}

void TestTools::syncMarksWhatDiffers_data() {
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QStringList>("marked");
    QTest::addColumn<QString>("differences"); // in the status line
    QTest::newRow("as written") << kAsWritten << QStringList() << "与配置一致";
    QTest::newRow("port 4 parity, main baud")
        << QString(kAsWritten).replace(24, 6, u"081B02"_s).replace(54, 2, u"08"_s)
        << QStringList{u"串口4 校验位: 应为 无, 设备为 偶校验"_s, u"串口0 波特率: 应为 115200, 设备为 9600"_s}
        << "2 处不同";
    QTest::newRow("codes no list shows")
        << QString(kAsWritten).replace(6, 6, u"050307"_s)
        << QStringList{u"串口1 功能: 应为 RS232, 设备为 ?07"_s, u"串口1 波特率: 应为 9600, 设备为 6000"_s}
        << "2 处不同";
}

void TestTools::syncMarksWhatDiffers() {
    QFETCH(QString, reply);
    QFETCH(QStringList, marked);
    QFETCH(QString, differences);
    FormHarness h;
    h.connectDevice();
    fillAll(h);
    h.feed(hex(kAsWritten).replace(3, 1, "\x10")); // before anything is written, nothing is compared
    QCOMPARE(marks(h), QStringList());
    fillAll(h);
    h.click("Command4");
    h.messages.shown.clear();
    h.feed(hex(reply));
    QStringList expected = marked;
    std::sort(expected.begin(), expected.end());
    QStringList got = marks(h);
    std::sort(got.begin(), got.end());
    QCOMPARE(got, expected);
    QCOMPARE(status(h), u"串口 COM3 9600,N,8,1 | 已连接 | "_s + differences);
    QCOMPARE(logRows(h).last(), marked.isEmpty()
                                    ? u"事件||比较: 设备与写入的配置一致"_s
                                    : u"事件||比较: 设备与写入的配置有 2 处不同: "_s + marked.join(u"; "));
    QCOMPARE(h.messages.texts(), QStringList{u"扩展串口数据同步成功!"_s}); // as without a comparison
    h.feed(hex(kAsWritten));                                               // matching values clear the marks
    QCOMPARE(marks(h), QStringList());
}

void TestTools::profileRoundTripSendsNothing() {
    FormHarness h;
    h.connectDevice();
    int k = 0;
    for (QComboBox* list : h.form->centralWidget()->findChildren<QComboBox*>())
        list->setCurrentIndex(++k % list->count());
    h.combo("Combo2_5")->setEditText(u"230400"_s);                  // a rate no entry shows
    h.feed(hex(u"4014CA0008DC010203C0A80164FFFFFF00C0A8010123"_s)); // the network dialog's values
    const QStringList saved = panels(h);
    QTemporaryDir dir;
    h.files.file = dir.filePath(u"unit.json"_s);
    h.action("saveProfile")->trigger();
    const auto read = config::ProfileFile::read(h.files.file);
    QVERIFY(read.ok());
    QCOMPARE(config::describe::macAddress(*read.value().network), u"00:08:DC:01:02:03"_s);

    for (QComboBox* list : h.form->centralWidget()->findChildren<QComboBox*>())
        list->setCurrentIndex(-1);
    h.feed(hex(u"4014CA"_s + u"00"_s.repeated(18) + u"23"_s));
    h.serial.writes.clear();
    h.action("openProfile")->trigger();
    QCOMPARE(panels(h), saved);
    QCOMPARE(h.form->findChild<config::Dialog2*>()->octetTexts()[9], u"100"_s);
    QVERIFY(h.serial.writes.isEmpty());
    QCOMPARE(h.files.titles, (QStringList{u"保存配置"_s, u"打开配置"_s}));
    QCOMPARE(logRows(h).last(), u"事件||打开配置 "_s + h.files.file);
    QCOMPARE(h.messages.texts(), (QStringList{u"请设置串口参数!"_s, u"连接成功!"_s})); // and nothing more
}

void TestTools::badProfilesChangeNothing_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QByteArray>("content"); // of the file opened
    QTest::addColumn<QString>("message");
    QByteArray profile = config::ProfileFile::toJson(config::Profile::fromConfiguration(
        *config::PortSetFrame::decode(hex(u"401CCD"_s + u"080302"_s.repeated(8) + u"080123"_s))));
    QTest::newRow("open: a parity no list has")
        << "openProfile" << QByteArray(profile).replace("\"无\"", "\"偶\"")
        << "无法打开配置文件,各串口参数保持不变:\n%1: ports[0].parity: \"偶\" is not one of 无, 奇校验, "
           "偶校验, "
           "1校验, 空校验, none, odd, even, mark, space";
    QTest::newRow("save: a list without an entry")
        << "saveProfile" << QByteArray() << "配置未保存: \"串口3\"的校验位为空或无效,请从列表中选择后再设置!";
    QTest::newRow("save: a network box empty")
        << "saveProfile" << QByteArray("4")
        << "配置未保存: 网络参数的第5个值为空或无效,请改正或清空网络参数后再保存。";
}

void TestTools::badProfilesChangeNothing() {
    QFETCH(QString, action);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    FormHarness h;
    fillAll(h);
    QTemporaryDir dir;
    h.files.file = dir.filePath(u"unit.json"_s);
    if (action == u"openProfile") {
        QFile file(h.files.file);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    } else if (content.isEmpty()) {
        h.combo("Combo5_2")->setEditText({});
    } else {
        h.openPort();
        h.feed(hex(u"4014CA"_s + u"01"_s.repeated(18) + u"23"_s));
        h.form->findChild<config::Dialog2*>()->setOctetText(content.toInt(), {});
        h.messages.shown.clear();
    }
    const QStringList before = panels(h);
    h.action(action)->trigger();
    QCOMPARE(h.messages.texts(), QStringList{message.contains(u"%1") ? message.arg(h.files.file) : message});
    QCOMPARE(h.messages.shown[0].title, u"注意"_s);
    QCOMPARE(panels(h), before);
    QCOMPARE(QFile::exists(h.files.file), action == u"openProfile");
}

void TestTools::panelCopiedToAll() {
    FormHarness h;
    fillAll(h);
    const QStringList third = {u"230400"_s, u"7"_s, u"2"_s, u"奇校验"_s, u"RS485半双工"_s};
    for (int k = 0; k < 5; ++k)
        h.combo(u"Combo%1_2"_s.arg(QLatin1Char("23457"[k])))->setCurrentText(third[k]);
    h.action("copyPanel_2")->trigger();
    QCOMPARE(find<QGroupBox>(h.form.get(), "Frame1_2")->contextMenuPolicy(), Qt::ActionsContextMenu);
    QStringList all;
    for (int i = 0; i < 8; ++i)
        all += third;
    QCOMPARE(panels(h), all + QStringList({u"115200"_s, u"允许"_s}));
    QVERIFY(h.serial.writes.isEmpty());
}

void TestTools::findDevice_data() {
    QTest::addColumn<QString>("route");  // the menu item, the same with the port open, or the dialog's button
    QTest::addColumn<QString>("device"); // "port baud" where one answers
    QTest::addColumn<QString>("results"); // the rows of the dialog
    QTest::addColumn<QString>("said");
    QTest::addColumn<QString>("opens"); // what "打开串口" then opens, when a device was chosen
    QTest::newRow("menu") << "menu"
                          << "COM3 38400"
                          << "COM1||无应答;COM3|38400|找到设备" << u"找到 1 台设备,选中一台后按“使用”。"_s
                          << "COM3 38400";
    QTest::newRow("nothing answers") << "menu"
                                     << ""
                                     << "COM1||无应答;COM3||无应答"
                                     << u"没有找到应答的设备,请检查连接线和设备电源。"_s << "";
    QTest::newRow("the window's port skipped") << "open"
                                               << "COM1 19200"
                                               << "COM1|19200|找到设备;COM3||本程序正在使用此串口,已跳过"
                                               << u"找到 1 台设备,选中一台后按“使用”。"_s << "COM1 19200";
    QTest::newRow("from the settings dialog")
        << "dialog"
        << "COM1 115200"
        << "COM1|115200|找到设备;COM3||无应答" << u"找到 1 台设备,选中一台后按“使用”。"_s << "COM1 115200";
}

void TestTools::findDevice() {
    QFETCH(QString, route);
    QFETCH(QString, device);
    QFETCH(QString, results);
    QFETCH(QString, said);
    QFETCH(QString, opens);
    FormHarness h;
    if (!device.isEmpty())
        h.devices[device.section(u' ', 0, 0)] = device.section(u' ', 1).toInt();
    if (route == u"open")
        h.openPort(); // COM3
    QStringList rows;
    inNextDialog(u"FindDeviceDialog"_s, [&](QDialog* d) {
        QTRY_COMPARE(find<QPushButton>(d, "stopButton")->text(), u"重新查找"_s);
        auto* list = find<QTreeWidget>(d, "results");
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            rows << QStringList{list->topLevelItem(i)->text(0), list->topLevelItem(i)->text(1),
                                list->topLevelItem(i)->text(2)}
                        .join(u'|');
        QCOMPARE(find<QLabel>(d, "status")->text(), said);
        find<QPushButton>(d, opens.isEmpty() ? "closeButton" : "useButton")->click();
    });
    if (route == u"dialog") {
        inNextDialog(u"Dialog"_s, [](QDialog* d) {
            find<QPushButton>(d, "findButton")->click(); // returns once a device was chosen
            QCOMPARE(find<QComboBox>(d, "Combo2")->currentText(), u"115200"_s);
            find<QPushButton>(d, "Command2")->click();
        });
        h.action("com_set")->trigger();
    } else {
        h.action("findDevice")->trigger();
    }
    QCOMPARE(rows.join(u';'), results);
    QCOMPARE(h.scanned.contains(u"COM3"_s), route != u"open"); // the window's open port is never touched
    if (route == u"open") {
        QCOMPARE(status(h), u"串口 COM3 9600,N,8,1 | 已打开"_s); // open as it was, until reopened
        h.click("Command2");
    }
    if (opens.isEmpty())
        return;
    const qsizetype before = h.serial.openings.size();
    h.click("Command2"); // the choice is made: this opens at once
    QCOMPARE(h.serial.openings.size(), before + 1);
    QCOMPARE(h.serial.openings.last().portName + u' ' +
                 QString::number(h.serial.openings.last().settings.baud),
             opens);
}

void TestTools::statusLineText_data() {
    QTest::addColumn<QString>("port");
    QTest::addColumn<shell::ConnectionState>("state");
    QTest::addColumn<int>("differences"); // -1: no comparison
    QTest::addColumn<QString>("text");
    using S = shell::ConnectionState;
    QTest::newRow("nothing chosen") << "" << S::Closed << -1 << "未选择串口 | 已关闭";
    QTest::newRow("open") << "COM3" << S::Open << -1 << "串口 COM3 9600,N,8,1 | 已打开";
    QTest::newRow("matches") << "COM3" << S::Connected << 0 << "串口 COM3 9600,N,8,1 | 已连接 | 与配置一致";
    QTest::newRow("differs") << "COM3" << S::Connected << 3 << "串口 COM3 9600,N,8,1 | 已连接 | 3 处不同";
}

void TestTools::statusLineText() {
    QFETCH(QString, port);
    QFETCH(shell::ConnectionState, state);
    QFETCH(int, differences);
    QFETCH(QString, text);
    QCOMPARE(shell::StatusLine::text(port, u"9600,N,8,1"_s, state,
                                     differences < 0 ? std::nullopt : std::optional<int>(differences)),
             text);
}

QTEST_MAIN(TestTools)
#include "tst_tools.moc"
