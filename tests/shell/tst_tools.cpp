// SPDX-License-Identifier: MIT
// What the main window offers beside its designed controls: the traffic log, the comparison after
// a port sync, profiles, a panel copied to all, finding the device, the status line.
#include "FormHarness.h"
#include "config/ProfileFile.h"
#include "config/ui/Dialog2.h"
#include "traffic/TrafficLog.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDockWidget>
#include <QGroupBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeWidget>

using testing::find;
using testing::FormHarness;
using testing::hex;

namespace {
// The rows as "kind|bytes|meaning", each under the kind the pane's filter hides it by.
QStringList log(const FormHarness& h, int from = 0) {
    QStringList rows = testing::logRows(h.form.get(), from);
    const QStringList kinds{u"发送"_s, u"接收"_s, u"事件"_s, u"无应答"_s, u"无效帧"_s};
    for (qsizetype r = 0; r < rows.size(); ++r)
        rows[r].replace(0, 2,
                        kinds[int(h.form->findChild<traffic::TrafficLog*>()->entry(int(from + r)).kind)]);
    return rows;
}
// The tooltips of the lists described as differing, sorted; one mark drawn for each.
QStringList marks(const FormHarness& h) {
    QStringList found;
    for (QComboBox* list : h.form->centralWidget()->findChildren<QComboBox*>())
        if (!list->toolTip().isEmpty() && list->accessibleDescription() == list->toolTip())
            found << list->toolTip();
    found.sort();
    const qsizetype drawn = h.form->centralWidget()->findChildren<QWidget*>(u"differenceMark"_s).size();
    return drawn == found.size() ? found : QStringList{u"%1 marks drawn"_s.arg(drawn)};
}
// The texts of the 42 lists of the panels, port by port, then the main port's two.
QStringList panels(const FormHarness& h) {
    QStringList texts;
    for (QComboBox* list : h.form->centralWidget()->findChildren<QComboBox*>())
        if (list->objectName() != u"Combo1")
            texts << list->currentText();
    return texts;
}
const QString kAsWritten = u"401CFB"_s + u"080302"_s.repeated(8) + u"600123"_s;
} // namespace

class TestTools : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void logRowsSayWhatTheWindowDid_data() {
        QTest::addColumn<QString>(
            "steps"); // buttons, hex the device sends, "lose", "second", "=" command line
        QTest::addColumn<QString>("rows"); // after the port was opened
        const auto row = [](const char* name, const char* steps, const QString& rows) {
            QTest::newRow(name) << QString::fromLatin1(steps) << rows;
        };
        row("connect", "Command3 4002E123 second", u"发送|40 02 F1 23|连接设备;接收|40 02 E1 23|连接成功"_s);
        row("length byte not examined, as the window does", "4005E123", u"接收|40 05 E1 23|连接成功"_s);
        row("a burst, reply by reply", "4002E1234002E2",
            u"接收|40 02 E1 23|连接成功 (同一批 1/2);无效帧|40 02 E2|无效帧: 不完整, 收到 3 字节, 应为 4 (同一批 2/2)"_s);
        row("no answer within a second", "Command3 second",
            u"发送|40 02 F1 23|连接设备;无应答|40 02 F1 23|无应答: 连接设备"_s);
        row("the oldest request takes the reply", "Command3 4002E123 Command6 Command3 4002E123 second",
            u"发送|40 02 F1 23|连接设备;接收|40 02 E1 23|连接成功;发送|40 02 FB 23|同步串口参数;"
            u"发送|40 02 F1 23|连接设备;接收|40 02 E1 23|连接成功;无应答|40 02 F1 23|无应答: 连接设备"_s);
        row("a forward draws no answer", "Command3 4002E123 =AA Command1 second",
            u"发送|40 02 F1 23|连接设备;接收|40 02 E1 23|连接成功;发送|40 04 DD 01 AA 23|转发到串口1: 1 字节"_s);
        row("lost", "Command3 lose second",
            u"发送|40 02 F1 23|连接设备;事件||关闭串口;事件||串口连接已断开"_s);
    }

    void logRowsSayWhatTheWindowDid() {
        QFETCH(QString, steps);
        QFETCH(QString, rows);
        FormHarness h;
        h.openPort();
        QCOMPARE(log(h), QStringList{u"事件||打开串口 COM3 9600,N,8,1"_s});
        for (const QString& step : steps.split(u' ')) {
            if (step.startsWith(u"Command"))
                h.click(step);
            else if (step.startsWith(u'='))
                h.box("Text1")->setPlainText(step.mid(1));
            else if (step == u"lose")
                h.serial.fail(platform::SerialFault::Resource);
            else if (step == u"second" && find<QTimer>(h.form.get(), "answerTimer")->isActive())
                testing::tick(h.form.get(), "answerTimer");
            else if (step != u"second")
                h.feed(hex(step));
        }
        QCOMPARE(log(h, 1).join(u';'), rows);
        QCOMPARE(h.status().endsWith(u"| 无应答: 连接设备"),
                 rows.endsWith(u"无应答: 连接设备")); // until a reply
    }

    void logPaneShowsAndSaves() {
        FormHarness h;
        h.form->show();
        const QSize designed = h.form->size();
        QVERIFY(!h.form->findChild<QDockWidget*>()); // the window opens as designed
        QCOMPARE(h.status(), u"未选择串口 | 已关闭"_s);
        testing::pressInNextModal(
            "Command1"); // cancelled: the defaults it loaded are the choice all the same
        h.click("Command2");
        QCOMPARE(h.status(), u"串口 COM3 9600,N,8,1 | 已关闭"_s);
        h.openPort();
        h.click("Command3");
        h.action("trafficLog")->trigger();
        auto* pane = find<QDockWidget>(h.form.get(), "TrafficLogPane");
        // Beside the client area, which keeps its size: a window of 1366 x 768 holds both.
        QVERIFY(pane->isVisible() && h.form->height() == designed.height() && h.form->width() < 1300);
        QCOMPARE(h.form->centralWidget()->size(), QSize(719, 570));
        QTemporaryDir dir;
        h.files.file = dir.filePath(u"log"_s); // text, by the filter chosen; CSV is the default
        h.files.filter = u"文本文件 (*.txt)"_s;
        find<QPushButton>(pane, "saveLog")->click();
        QFile saved(h.files.file + u".txt"_s); // the chosen format's extension, the time with its date
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray content = saved.readAll();
        QVERIFY(content.contains(QDate::currentDate().toString(u"yyyy-MM-dd "_s).toUtf8()) &&
                content.contains("\t发送\t40 02 F1 23\t连接设备\n"));
        QAbstractItemModel* shown = find<QTableView>(pane, "trafficView")->model();
        find<QLineEdit>(pane, "searchLog")->setText(u"f1 23"_s); // bytes or meaning
        find<QCheckBox>(pane, "show_2")->click();                // events hidden
        QCOMPARE(shown->rowCount() == 1 && shown->index(0, 3).data().toString() == u"连接设备", true);
        find<QLineEdit>(pane, "searchLog")->clear();
        find<QPushButton>(pane, "copyLog")->click(); // every row, none being selected
        QVERIFY(QGuiApplication::clipboard()->text().contains(u"\t发送\t40 02 F1 23\t连接设备\n"));
        find<QPushButton>(pane, "clearLog")->click();
        QCOMPARE(log(h), QStringList());
        pane->close(); // by its own button: the menu item follows
        QVERIFY(!h.action("trafficLog")->isChecked());
        QCOMPARE(h.form->size(), designed);
    }

    void syncMarksWhatDiffers_data() {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QStringList>("marked"); // in the order of the profile file
        QTest::addColumn<QString>("said");       // by the status line
        QTest::newRow("as written") << kAsWritten << QStringList() << "与配置一致";
        QTest::newRow("port 4 parity, main baud")
            << QString(kAsWritten).replace(24, 6, u"081B02"_s).replace(54, 2, u"08"_s)
            << QStringList{u"串口4 校验位: 应为 无, 设备为 偶校验"_s,
                           u"串口0 波特率: 应为 115200, 设备为 9600"_s}
            << "2 处不同";
    }

    void syncMarksWhatDiffers() {
        QFETCH(QString, reply);
        QFETCH(QStringList, marked);
        QFETCH(QString, said);
        FormHarness h;
        h.connectDevice();
        h.fillAll();
        h.feed(hex(kAsWritten).replace(3, 1, "\x10")); // before anything is written, nothing is compared
        QCOMPARE(marks(h), QStringList());
        h.fillAll();
        h.click("Command4");
        h.feed(hex(reply));
        QCOMPARE(log(h).last(), marked.isEmpty()
                                    ? u"事件||比较: 设备与写入的配置一致"_s
                                    : u"事件||比较: 设备与写入的配置有 2 处不同: "_s + marked.join(u"; "));
        marked.sort();
        QCOMPARE(marks(h), marked);
        QCOMPARE(h.status(), u"串口 COM3 9600,N,8,1 | 已连接 | "_s + said);
        QCOMPARE(h.messages.texts().last(), u"扩展串口数据同步成功!"_s); // as without a comparison
        h.click("Command4"); // written again: no mark until the next comparison
        QCOMPARE(h.status() + marks(h).join(u';'), u"串口 COM3 9600,N,8,1 | 已连接"_s);
        h.feed(hex(kAsWritten)); // the same differences, the other way round
        QCOMPARE(marks(h).size(), marked.size());
        h.feed(hex(reply)); // matching values clear the marks
        QCOMPARE(marks(h), QStringList());
        h.action("writeAndVerify")->trigger(); // the read-back goes out on the confirmation
        h.feed(hex("4002E223"));
        QCOMPARE(h.serial.writes.last(), hex("4002FB23"));
        h.feed(hex(kAsWritten)); // one message; the panels showed `reply` when written
        QCOMPARE(h.messages.texts().last().contains(u"2 处"), !marked.isEmpty());
        h.click("Command2"); // the marks belong to the box: gone with its port
        QCOMPARE(h.status() + marks(h).join(u';'), u"串口 COM3 9600,N,8,1 | 已关闭"_s);
    }

    void profilesRoundTripAndRefuseWhatIsWrong() {
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
        QVERIFY(config::ProfileFile::read(h.files.file).value().network.has_value());
        QCOMPARE(log(h).last(), u"事件||保存配置 "_s + h.files.file);
        const QString good = h.files.file;
        h.files.file = dir.filePath(u"refused.json"_s);
        h.form->findChild<config::Dialog2*>()->setOctetText(4, {});
        h.action("saveProfile")->trigger();
        QVERIFY(!QFile::exists(h.files.file)); // a box emptied: nothing saved

        for (QComboBox* list : h.form->centralWidget()->findChildren<QComboBox*>())
            list->setCurrentIndex(-1);
        h.feed(hex(u"4014CA"_s + u"00"_s.repeated(18) + u"23"_s));
        h.serial.writes.clear();
        QFile refused(h.files.file);
        config::Profile wrong = config::ProfileFile::read(good).value();
        wrong.ports[5].baud = u"1201"_s;
        QVERIFY(refused.open(QIODevice::WriteOnly) && refused.write(config::ProfileFile::toJson(wrong)));
        refused.close();
        h.action("openProfile")->trigger();
        QCOMPARE(panels(h), QStringList(42, QString())); // a file refused changes nothing
        h.files.file = good;
        h.action("openProfile")->trigger();
        QCOMPARE(panels(h), saved);
        QCOMPARE(h.form->findChild<config::Dialog2*>()->octetTexts()[9], u"100"_s);
        QVERIFY(h.serial.writes.isEmpty());
        QCOMPARE(h.files.titles.size(), 3); // the save refused asked for no file
        QCOMPARE(log(h).last(), u"事件||打开配置 "_s + good);
        h.feed(hex(u"4014CA0008DC010203C0A80165FFFFFF00C0A8010123"_s)); // 同步: the IP's last octet differs
        QCOMPARE(find<QLineEdit>(h.form.get(), "Text1_9")->toolTip() +
                     find<QLineEdit>(h.form.get(), "Text1_8")->toolTip(),
                 u"应为 100，设备为 101"_s);
        QCOMPARE(h.messages.texts().mid(2),
                 (QStringList{u"配置未保存: 网络参数的第5个值为空或无效,请改正或清空网络参数后再保存。"_s,
                              u"配置文件 %1 无法打开，各串口参数保持不变：\n串口6 波特率：1201 不是 1200 至 "
                              u"306000 之间 1200 的整数倍"_s.arg(refused.fileName())}));
    }

    void panelCopiedToAll() {
        FormHarness h;
        h.fillAll();
        const QString third = u"230400 7 2 奇校验 RS485半双工"_s;
        h.setPanel(2, third);
        h.action("copyPanel_2")->trigger();
        QCOMPARE(panels(h).join(u' '), (third + u' ').repeated(8) + u"115200 允许"_s);
        QVERIFY(h.serial.writes.isEmpty());
    }

    void findDevice_data() {
        QTest::addColumn<QString>("route");   // the menu item, or the same with COM3 open
        QTest::addColumn<QString>("device");  // "port baud" where one answers
        QTest::addColumn<QString>("results"); // the dialog's rows and sentence, then what "打开串口" opens
        const QString mac = u"找到设备，IP 192.168.1.100，MAC 00:08:DC:01:02:03;"_s;
        const QString found = u"找到 1 台设备，选中一台后按“使用”。"_s;
        const auto row = [](const char* name, const char* route, const char* device, const QString& results) {
            QTest::newRow(name) << QString::fromLatin1(route) << QString::fromLatin1(device) << results;
        };
        row("menu", "menu", "COM3 38400", u"COM1||无应答;COM3|38400|"_s + mac + found + u";COM3 38400"_s);
        row("nothing answers", "menu", "",
            u"COM1||无应答;COM3||无应答;没有找到应答的设备，请检查连接线和设备电源。"_s);
        const QString skipped = u"COM1|19200|"_s + mac + u"COM3||本程序正在使用此串口，已跳过;"_s + found;
        row("the window's port skipped, also once another is chosen", "open", "COM1 19200",
            skipped + u';' + skipped + u";COM1 19200"_s);
    }

    void findDevice() {
        QFETCH(QString, route);
        QFETCH(QString, device);
        QFETCH(QString, results);
        FormHarness h;
        if (!device.isEmpty())
            h.devices[device.section(u' ', 0, 0)] = device.section(u' ', 1).toInt();
        if (route == u"open")
            h.openPort(); // COM3
        QStringList seen;
        const auto inFind = [&] {
            testing::onNextModal(
                [&](QDialog* d) {
                    // Waited for, not compared: a check that failed here would leave the dialog open.
                    static_cast<void>(QTest::qWaitFor(
                        [d] { return find<QPushButton>(d, "stopButton")->text() == u"重新查找"; }));
                    auto* list = find<QTreeWidget>(d, "results");
                    for (int i = 0; i < list->topLevelItemCount(); ++i)
                        seen << list->topLevelItem(i)->text(0) + u'|' + list->topLevelItem(i)->text(1) +
                                    u'|' + list->topLevelItem(i)->text(2);
                    seen << find<QLabel>(d, "status")->text();
                    if (find<QPushButton>(d, "useButton")->isEnabled()) // Enter on the found row, current
                        QTest::keyClick(list, Qt::Key_Return);
                    else
                        find<QPushButton>(d, "closeButton")->click();
                },
                u"FindDeviceDialog"_s);
        };
        inFind();
        if (route == u"open") { // COM1 chosen while COM3 stays open: the next scan still skips COM3
            h.action("findDevice")->trigger();
            inFind();
        }
        h.action("findDevice")->trigger();
        QCOMPARE(h.scanned.contains(u"COM3"_s), route != u"open"); // the window's open port is never touched
        if (route == u"open") {
            QCOMPARE(h.status(), u"串口 COM3 9600,N,8,1 | 已打开"_s); // open as it was, until reopened
            h.click("Command2");
        }
        if (!device.isEmpty()) {
            h.click("Command2"); // the choice is made: this opens at once
            const auto& opened = h.serial.openings.last();
            seen << opened.portName + u' ' + QString::number(opened.settings.baud);
        }
        QCOMPARE(seen.join(u';'), results);
    }
};

QTEST_MAIN(TestTools)
#include "tst_tools.moc"
