// SPDX-License-Identifier: MIT
// The main window at start-up and shutdown, its controls, the About box, and what the buttons and
// the messages show as the port is opened, connected, closed and lost.
#include "FormHarness.h"
#include "shell/App.h"
#include "shell/frmAbout.h"

#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>

using testing::find;
using testing::FormHarness;
using testing::hex;
using State = shell::ConnectionState;

Q_DECLARE_METATYPE(platform::SerialFault)

namespace {
const QString kOpen = u"打开串口"_s;
const QString kClose = u"关闭串口"_s;
const QString kChoose = u"请设置串口参数!"_s;
const QString kConnected = u"连接成功!"_s;
const QString kLost = u"串口连接已断开,请检查设备和连接线后重新打开串口!"_s;

void run(FormHarness& h, const QString& step) {
    if (step == u"choose") { // the first click asks for the settings: OK
        testing::pressInNextModal("Command2");
        h.click("Command2");
    } else if (step == u"click") {
        h.click("Command2");
    } else if (step == u"connect") {
        h.click("Command3");
        h.feed(hex("4002E123"));
    } else if (step == u"reply") {
        h.feed(hex("4002E123"));
    } else if (step == u"menu") { // 通信串口设置(C), then cancel
        testing::pressInNextModal("Command1");
        h.action("com_set")->trigger();
    } else if (step == u"lose") { // a vanished device repeats its error
        for (int i = 0; i < 100; ++i)
            h.serial.fail(platform::SerialFault::Resource);
    } else if (step == u"writeFails") {
        h.serial.refuseWrite = true;
        h.click("Command3");
    } else if (step == u"replyThenLose") { // the loss comes within the quiet time
        h.serial.feed(hex("4002E123"));
        h.serial.fail(platform::SerialFault::Read);
        testing::tick(h.form.get(), "Timer1");
    } else if (step == u"loseDuringBox") { // a burst of replies, and a hang-up while the first box waits
        h.messages.whileShown = [&h](const auto&) {
            h.messages.whileShown = nullptr;
            h.serial.fail(platform::SerialFault::Resource);
        };
        h.feed(hex("4002E123401CFB" + QByteArray("080302").repeated(8) + "080123"));
    } else if (step == u"quit" || step == u"closeBox") { // the window shown, 网络参数设置 made
        h.form->show();
        h.feed(hex("4014CA") + QByteArray(18, 1) + hex("23"));
        if (step == u"quit")
            h.action("quit")->trigger();
        else
            QVERIFY(h.form->close());
        QVERIFY(!h.form->isVisible());
        // Quitting unloads both dialogs; the close box leaves them.
        QCOMPARE(h.form->findChildren<QDialog*>().isEmpty(), step == u"quit");
    }
}
} // namespace

class TestForm1 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initialStates() {
        FormHarness h;
        QVERIFY(h.button("Command2")->isEnabled() && h.button("Command5")->isEnabled() &&
                h.button("Command8")->isEnabled());
        QVERIFY(h.button("Command7")->isHidden() && !h.button("Command7")->isEnabled());
        QVERIFY(h.trace()->isHidden() && h.text("Text3").isEmpty());
        QVERIFY(!h.action("ComDataSet")->isEnabled() && h.action("ComDataSet")->isVisible());
        QVERIFY(!find<QTimer>(h.form.get(), "Timer3")->isActive() &&
                !find<QTimer>(h.form.get(), "Timer4")->isActive());
        QCOMPARE(h.instance.checks, 1);
        QVERIFY(h.combo("Combo1")->currentText() == u"1" && !h.combo("Combo1")->isEditable());
        // Every list of the panels is filled, editable, and shows nothing chosen (what each holds: the
        // port tests read every position back).
        for (const char* name : {"Combo6", "Combo8", "Combo3_0", "Combo4_3", "Combo5_5", "Combo7_1"}) {
            QComboBox* list = h.combo(name);
            QVERIFY2(list->count() > 1 && list->currentIndex() == -1 && list->currentText().isEmpty() &&
                         list->isEditable() && list->isEnabled(),
                     name);
        }
        // What a screen reader says for the designed controls.
        const std::pair<const char*, QString> names[] = {
            {"Frame1_5", u"串口6"_s},      {"Combo4_0", u"串口1 停止位:"_s}, {"Combo7_7", u"串口8 功能:"_s},
            {"Combo6", u"串口0 波特率"_s}, {"Combo8", u"串口0接收输出"_s},   {"Command2", u"打开串口"_s},
            {"Combo1", u"转发串口:"_s},    {"Text1", u"命令行:"_s},          {"Command5", u"清空"_s}};
        for (const auto& [name, text] : names)
            QCOMPARE(find<QWidget>(h.form.get(), name)->accessibleName(), text);
    }

    void menusAndTabOrder() {
        FormHarness h;
        QStringList shown;
        for (QAction* bar : h.form->menuBar()->actions()) {
            shown << bar->text();
            for (QAction* a : bar->menu()->actions())
                shown << (a->isSeparator() ? u"-"_s : a->text() + a->shortcut().toString());
        }
        // The designed menus keep their items; every new item has a mnemonic.
        QVERIFY(shown.join(u'|').contains(
            u"设置(&S)|通信串口设置(&C)|主串口参数设置|网络参数设置|-|退出(&Q)|"_s));
        for (const QString& item : shown)
            QVERIFY2(item == u"-" || item.contains(u'&') || item == u"主串口参数设置" ||
                         item == u"网络参数设置",
                     qPrintable(item));
        QStringList order; // what Tab visits, from the first list on
        for (QWidget* w = h.combo("Combo2_0"); order.size() < 52; w = w->nextInFocusChain())
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(h.form.get()) &&
                !w->objectName().isEmpty())
                order << w->objectName();
        QCOMPARE(order.mid(0, 6).join(u' '), u"Combo2_0 Combo3_0 Combo4_0 Combo5_0 Combo7_0 Combo2_1"_s);
        QCOMPARE(order.at(39), u"Combo7_7"_s);
        QCOMPARE(order.mid(40).join(u' '), u"Command2 Command3 Command6 Command4 Combo6 Combo8 Combo1 Text1 "
                                           u"Text3 Command8 Command1 Command5"_s);
    }

    void startsOnceWithItsOwnTitlesInChinese() {
        platform::FakeSerialControl serial;
        testing::Fakes f;
        shell::App first({serial, f.ports, f.messages, f.instance, f.files, {}});
        QVERIFY(first.Main());
        QVERIFY(first.window().isVisible() && !first.window().windowIcon().isNull());
        QCOMPARE(first.window().windowTitle(), u"八口串口扩展器配置工具"_s);
        // Titles are whole: no display name is appended to them, and Qt's own buttons read Chinese.
        QCOMPARE(QGuiApplication::applicationDisplayName(), u"expander-config"_s);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "OK"), u"确定"_s);
        // In the program's face, "串口0接收输出" fits whole above its list, which keeps that face.
        auto* output = find<QComboBox>(&first.window(), "Combo8");
        QVERIFY(QFontMetrics(find<QGroupBox>(&first.window(), "Frame3")->font()).height() <= output->y());
        QCOMPARE(QFontInfo(output->font()).pixelSize(), QFontInfo(QApplication::font()).pixelSize());
#ifdef Q_OS_WIN // the system's own Chinese face, never a Linux one
        QVERIFY(QApplication::font().families().contains(u"Microsoft YaHei UI"_s));
        for (const QWidget* w : first.window().findChildren<QWidget*>())
            for (const QString& face : w->font().families())
                QVERIFY2(!face.contains(u"Noto"_s) && !face.contains(u"WenQuanYi"_s), qPrintable(face));
#endif
        QVERIFY(f.messages.shown.isEmpty());

        f.instance.another = true;
        bool visibleAtMessage = true;
        shell::App second({serial, f.ports, f.messages, f.instance, f.files, {}});
        f.messages.whileShown = [&](const auto&) { visibleAtMessage = second.window().isVisible(); };
        QVERIFY(!second.Main());
        QVERIFY(!second.window().isVisible() && !visibleAtMessage);
        QCOMPARE(f.messages.texts(), QStringList{u"程序已经运行,请检查是否最小化!."_s});
        QCOMPARE(f.messages.shown[0].title, u"系统提示"_s);
        QVERIFY(f.messages.shown[0].icon == platform::MessageBoxes::Icon::Information);
    }

    void aboutBox_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
    }

    void aboutBox() {
        QFETCH(int, key);
        FormHarness h;
        h.form->move(40, 30);
        h.form->show();
        QPoint place;
        testing::onNextModal([&](QDialog* about) {
            QCOMPARE(find<QLabel>(about, "lblVersion")->text(), u"Version1.00"_s);
            QCOMPARE(find<QLabel>(about, "picIcon")->pixmap().size(), QSize(32, 32));
            place = about->pos();
            QTest::keyClick(about, Qt::Key(key));
        });
        h.action("aboutme")->trigger(); // returns once the box is closed
        const QRect main = h.form->frameGeometry();
        const QSize size = shell::frmAbout(h.form.get()).size();
        QCOMPARE(place, QPoint(main.x() + (main.width() - size.width()) / 2,
                               main.y() + (main.height() - size.height()) / 2));
        QVERIFY(!h.form->findChild<shell::frmAbout*>()); // unloaded: the next showing loads it again
    }

    void states_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("buttons"); // 连接设备, 发送, 设置串口参数, 同步串口参数, 网络参数设置
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QList<State>>("changes");
        const QList<State> o{State::Open}, oc{State::Open, State::Closed}, ocn{State::Open, State::Connected},
            ocnc{State::Open, State::Connected, State::Closed};
        const QStringList cc{kChoose, kConnected}, ccl{kChoose, kConnected, kLost};
        const auto row = [](const char* name, const char* steps, const char* buttons,
                            const QStringList& messages, const QList<State>& changes) {
            QTest::newRow(name) << QString::fromLatin1(steps) << QString::fromLatin1(buttons) << messages
                                << changes;
        };
        row("first click asks", "choose", "00000", {kChoose}, {});
        row("open", "choose click", "10000", {kChoose}, o);
        row("connected", "choose click connect", "11111", cc, ocn);
        row("settings menu closes", "choose click connect menu", "00001", cc, ocnc);
        row("lost once", "choose click connect lose", "00001", ccl, ocnc);
        row("failed write is a loss", "choose click writeFails", "00000", {kChoose, kLost}, oc);
        row("reply just before the loss", "choose click replyThenLose", "00001", ccl, ocnc);
        row("lost while the box is open", "choose click loseDuringBox", "00000", ccl, oc);
        row("reply to a closed port", "reply", "00000", {}, {});
        row("quit while connected", "choose click connect quit", "00001", cc, ocnc);
        row("quit while closed", "quit", "00000", {}, {});
        row("close box while open", "choose click closeBox", "00000", {kChoose}, oc);
        // The network item stays usable once connected, also after the port is opened again.
        row("reopened after connecting", "choose click connect click click", "10001", cc, ocnc + o);
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
            QCOMPARE(h.serial.writes.first(), hex("4002F123"));
        testing::tick(h.form.get(), "Timer1"); // nothing is handled twice
        QCOMPARE(h.messages.texts(), messages);
    }

    void openFailures_data() {
        QTest::addColumn<QStringList>("ports");
        QTest::addColumn<platform::SerialFault>("error");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        using E = platform::SerialFault;
        const auto row = [](const char* name, E error, const QString& message) {
            QTest::newRow(name) << QStringList{u"COM1"_s, u"COM3"_s} << error << u"SETPASS"_s << message;
        };
        row("not found", E::DeviceNotFound, u"没有发现此串口!请检查串口号和连接线。"_s);
        row("in use", E::InUse, u"此串口已被其他程序占用!请关闭占用它的程序后再打开。"_s);
#ifdef Q_OS_LINUX
        row("no permission", E::Permission,
            u"没有权限打开此串口!请把当前用户加入dialout组(sudo usermod -aG dialout $USER),重新登录后再打开。"_s);
#endif
        row("other", E::Open, u"没有发现此串口或被占用!"_s);
        QTest::newRow("no port listed") << QStringList() << E::NoError << u"注意"_s << u"未发现串口!"_s;
    }

    void openFailures() {
        QFETCH(QStringList, ports);
        QFETCH(platform::SerialFault, error);
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
        h.serial.refuseOpen = platform::SerialFault::NoError; // free again: the next click opens
        h.click("Command2");
        QCOMPARE(h.serial.isOpen(), !ports.isEmpty());
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
