// The main window at start-up and shutdown, its controls and layout, and the About box.
#include "FormHarness.h"
#include "shell/App.h"
#include "shell/frmAbout.h"

#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

using testing::find;
using testing::FormHarness;

class TestForm1 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initialStates() {
        FormHarness h;
        QCOMPARE(h.deviceButtons(), u"0000"_s);
        QVERIFY(h.button("Command2")->isEnabled() && h.button("Command5")->isEnabled() &&
                h.button("Command8")->isEnabled());
        QVERIFY(h.button("Command7")->isHidden() && !h.button("Command7")->isEnabled());
        QVERIFY(h.trace()->isHidden() && h.text("Text3").isEmpty());
        QVERIFY(!h.action("netset")->isEnabled());
        QVERIFY(!h.action("ComDataSet")->isEnabled() && h.action("ComDataSet")->isVisible());
        QVERIFY(!find<QTimer>(h.form.get(), "Timer3")->isActive() &&
                !find<QTimer>(h.form.get(), "Timer4")->isActive());
        QCOMPARE(h.instance.checks, 1);
        QCOMPARE(h.combo("Combo1")->currentText(), u"1"_s);
        QVERIFY(!h.combo("Combo1")->isEditable());
        // Every list of the panels is filled from its table, editable, and shows nothing chosen.
        for (const auto& [name, count] : {std::pair{"Combo6", 10},
                                          {"Combo8", 2},
                                          {"Combo2_7", 10},
                                          {"Combo3_0", 4},
                                          {"Combo4_3", 2},
                                          {"Combo5_5", 5},
                                          {"Combo7_1", 3}}) {
            QComboBox* list = h.combo(name);
            QVERIFY(list->count() == count && list->currentIndex() == -1 && list->currentText().isEmpty());
            QVERIFY(list->isEditable() && list->isEnabled());
        }
        QCOMPARE(h.combo("Combo7_1")->itemText(1), u"RS485半双工"_s);
    }

    void controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("accessible");
        QTest::addColumn<QRect>("twips"); // relative to the control's frame
        QTest::newRow("Frame1(5)") << "Frame1_5"
                                   << "串口6" << QRect(2520, 2400, 2055, 2295);
        QTest::newRow("Frame1(3)") << "Frame1_3"
                                   << "串口4" << QRect(6840, 0, 2055, 2295);
        QTest::newRow("Combo4(0)") << "Combo4_0"
                                   << "串口1 停止位:" << QRect(840, 1080, 1095, 315);
        QTest::newRow("Combo7(7)") << "Combo7_7"
                                   << "串口8 功能:" << QRect(840, 1800, 1095, 315);
        QTest::newRow("Frame2") << "Frame2"
                                << "串口0" << QRect(9000, 2400, 1695, 1095);
        QTest::newRow("Combo6") << "Combo6"
                                << "串口0 波特率" << QRect(240, 480, 1215, 315);
        QTest::newRow("Combo8") << "Combo8"
                                << "串口0接收输出" << QRect(240, 240, 1215, 315);
        QTest::newRow("Command2") << "Command2"
                                  << "打开串口" << QRect(9240, 120, 1335, 375);
        QTest::newRow("Command4") << "Command4"
                                  << "设置串口参数" << QRect(9240, 1200, 1335, 375);
        QTest::newRow("Combo1") << "Combo1"
                                << "转发串口:" << QRect(240, 5400, 1335, 420);
        QTest::newRow("Text1") << "Text1"
                               << "命令行:" << QRect(1680, 5400, 9015, 1050);
        QTest::newRow("Command8") << "Command8"
                                  << "生成" << QRect(2760, 7920, 1575, 375);
    }

    void controls() {
        QFETCH(QString, name);
        QFETCH(QString, accessible);
        QFETCH(QRect, twips);
        FormHarness h;
        auto* control = find<QWidget>(h.form.get(), name);
        QCOMPARE(control->accessibleName(), accessible);
        QCOMPARE(control->geometry(),
                 QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
        QCOMPARE(h.form->centralWidget()->size(), QSize(719, 570));
    }

    void menusAndTabOrder() {
        FormHarness h;
        QStringList shown;
        for (QAction* bar : h.form->menuBar()->actions()) {
            shown << bar->text();
            for (QAction* a : bar->menu()->actions())
                shown << (a->isSeparator() ? u"-"_s : a->text() + a->shortcut().toString());
        }
        // The designed menus as they were; the new ones beside them.
        QCOMPARE(shown.join(u'|'),
                 u"文件(&F)|打开配置(&O)…Ctrl+O|保存配置(&S)…Ctrl+S|"
                 u"设置(&S)|通信串口设置(&C)|主串口参数设置|网络参数设置|-|退出(&Q)|"
                 u"工具(&T)|查找设备(&F)…|通信记录(&L)Ctrl+L|关于(&A)|关于(&T)|还原设置(&B)"_s);
        QStringList order; // what Tab visits, from the first list on
        for (QWidget* w = h.combo("Combo2_0"); order.size() < 52; w = w->nextInFocusChain())
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(h.form.get()) &&
                !w->objectName().isEmpty())
                order << w->objectName();
        QCOMPARE(order.mid(0, 6).join(u' '), u"Combo2_0 Combo3_0 Combo4_0 Combo5_0 Combo7_0 Combo2_1"_s);
        QCOMPARE(order.at(39), u"Combo7_7"_s);
        QCOMPARE(
            order.mid(40).join(u' '),
            u"Command2 Command3 Command6 Command4 Combo6 Combo8 Combo1 Text1 Text3 Command8 Command1 Command5"_s);
    }

    void quitAndCloseBoxCloseAnOpenPort_data() {
        QTest::addColumn<bool>("open");
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("quit, open") << true << false;
        QTest::newRow("quit, closed") << false << false;
        QTest::newRow("close box, open") << true << true;
    }

    void quitAndCloseBoxCloseAnOpenPort() {
        QFETCH(bool, open);
        QFETCH(bool, closeBox);
        FormHarness h;
        h.form->show();
        if (open)
            h.openPort();
        h.feed(QByteArray::fromHex("4014CA") + QByteArray(18, 1) +
               QByteArray::fromHex("23")); // makes 网络参数设置
        if (closeBox)
            QVERIFY(h.form->close());
        else
            h.action("quit")->trigger();
        QVERIFY(!h.serial.isOpen() && !h.form->isVisible());
        QCOMPARE(h.serial.closeCalls, open ? 1 : 0);
        QCOMPARE(h.form->findChildren<QDialog*>().isEmpty(), !closeBox); // quit unloads both dialogs
    }

    void startsOnceWithItsOwnTitlesInChinese() {
        platform::FakeSerialControl serial;
        platform::FakePortList ports;
        platform::FakeMessageBoxes messages;
        platform::FakeSingleInstance instance;
        platform::FakeFileDialogs files;
        shell::App first({serial, ports, messages, instance, files, {}});
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
        QVERIFY(messages.shown.isEmpty());

        instance.another = true;
        bool visibleAtMessage = true;
        shell::App second({serial, ports, messages, instance, files, {}});
        messages.whileShown = [&](const auto&) { visibleAtMessage = second.window().isVisible(); };
        QVERIFY(!second.Main());
        QVERIFY(!second.window().isVisible() && !visibleAtMessage);
        QCOMPARE(messages.texts(), QStringList{u"程序已经运行,请检查是否最小化!."_s});
        QCOMPARE(messages.shown[0].title, u"系统提示"_s);
        QVERIFY(messages.shown[0].icon == platform::MessageBoxes::Icon::Information);
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
            QVERIFY(!find<QLabel>(about, "picIcon")->pixmap().isNull());
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
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
