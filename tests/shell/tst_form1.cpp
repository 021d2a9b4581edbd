// The main window at start-up and shutdown, and the About box.
#include "FormHarness.h"
#include "config/ui/Dialog2.h"
#include "shell/App.h"
#include "shell/frmAbout.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

using testing::FormHarness;

class TestForm1 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initialStates();
    void listsAreFilledButUnselected();
    void controlsCarryTheirNames_data();
    void controlsCarryTheirNames();
    void layoutFollowsTheDesign_data();
    void layoutFollowsTheDesign();
    void menuItems();
    void quitWithOpenPortClosesIt();
    void quitWithClosedPortLeavesItAlone();
    void closeBoxWithOpenPortClosesIt();
    void secondInstanceIsTurnedAway();
    void firstInstanceIsShown();
    void aboutBoxClosesOnEnterAndEsc_data();
    void aboutBoxClosesOnEnterAndEsc();
    void aboutBoxIsCentredOverTheMainWindow();
    void tabFollowsTheReadingOrder();
    void dialogsTabInTheirOrder();
};

namespace {
// The object names Tab visits from `first`, skipping what Tab skips (hidden, not tab-focusable).
QStringList tabOrder(QWidget* first, int count) {
    QStringList names;
    QWidget* w = first;
    QWidget* window = first->window();
    while (names.size() < count) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(window) && !w->objectName().isEmpty())
            names.append(w->objectName());
        w = w->nextInFocusChain();
        if (w == first)
            break;
    }
    return names;
}
} // namespace

void TestForm1::initialStates() {
    FormHarness h;
    const auto& v = h.v();
    QCOMPARE(v.Command2->text(), QStringLiteral("打开串口"));
    QVERIFY(v.Command2->isEnabled());
    for (QPushButton* b : {v.Command3, v.Command1, v.Command4, v.Command6})
        QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
    QVERIFY(v.Command5->isEnabled());
    QVERIFY(v.Command8->isEnabled());
    QVERIFY(!v.Command7->isEnabled());
    QVERIFY(v.Command7->isHidden());
    QVERIFY(v.Text2->isHidden());
    QVERIFY(v.Text3->toPlainText().isEmpty());
    QVERIFY(!v.netset->isEnabled());
    QVERIFY(!v.ComDataSet->isEnabled()); // greyed, never choosable
    QVERIFY(v.ComDataSet->isVisible());
    QVERIFY(h.form->timer3().isActive() == false);
    QVERIFY(h.form->timer4().isActive() == false);
    QCOMPARE(h.instance.checks, 1);
    QVERIFY(!h.form->portChoice().PcPortChosen);
    QVERIFY(h.form->portChoice().PcPortName.isEmpty());
}

void TestForm1::listsAreFilledButUnselected() {
    FormHarness h;
    const auto& v = h.v();
    QCOMPARE(v.Combo1->currentText(), QStringLiteral("1"));
    QCOMPARE(v.Combo1->count(), 8);
    QVERIFY(!v.Combo1->isEditable());
    QCOMPARE(v.Combo6->count(), 10);
    QCOMPARE(v.Combo8->count(), 2);
    QCOMPARE(v.Combo8->itemText(1), QStringLiteral("禁止"));
    for (QComboBox* c : {v.Combo6, v.Combo8}) {
        QCOMPARE(c->currentIndex(), -1);
        QVERIFY(c->currentText().isEmpty());
        QVERIFY(c->isEditable());
    }
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(v.Combo2[i]->count(), 10);
        QCOMPARE(v.Combo3[i]->count(), 4);
        QCOMPARE(v.Combo4[i]->count(), 2);
        QCOMPARE(v.Combo5[i]->count(), 5);
        QCOMPARE(v.Combo7[i]->count(), 3);
        for (QComboBox* c : {v.Combo2[i], v.Combo3[i], v.Combo4[i], v.Combo5[i], v.Combo7[i]}) {
            QCOMPARE(c->currentIndex(), -1);
            QVERIFY(c->currentText().isEmpty());
            QVERIFY(c->isEditable() && c->isEnabled());
        }
    }
    QCOMPARE(v.Combo2[0]->itemText(9), QStringLiteral("115200"));
    QCOMPARE(v.Combo7[0]->itemText(1), QStringLiteral("RS485半双工"));
}

void TestForm1::controlsCarryTheirNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("accessible");
    QTest::newRow("first baud") << "Combo2_0" << QStringLiteral("串口1 波特率:");
    QTest::newRow("last function") << "Combo7_7" << QStringLiteral("串口8 功能:");
    QTest::newRow("parity of port 3") << "Combo5_2" << QStringLiteral("串口3 校验位:");
    QTest::newRow("main baud") << "Combo6" << QStringLiteral("串口0 波特率");
    QTest::newRow("output switch") << "Combo8" << QStringLiteral("串口0接收输出");
    QTest::newRow("forward port") << "Combo1" << QStringLiteral("转发串口:");
    QTest::newRow("command line") << "Text1" << QStringLiteral("命令行:");
    QTest::newRow("open") << "Command2" << QStringLiteral("打开串口");
    QTest::newRow("generate") << "Command8" << QStringLiteral("生成");
}

void TestForm1::controlsCarryTheirNames() {
    QFETCH(QString, name);
    QFETCH(QString, accessible);
    FormHarness h;
    auto* widget = h.form->findChild<QWidget*>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->accessibleName(), accessible);
}

void TestForm1::layoutFollowsTheDesign_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::newRow("Frame1(5)") << "Frame1_5" << QRect(2520, 2400, 2055, 2295);
    QTest::newRow("Frame1(3)") << "Frame1_3" << QRect(6840, 0, 2055, 2295);
    QTest::newRow("Frame2") << "Frame2" << QRect(9000, 2400, 1695, 1095);
    QTest::newRow("Combo4(0) in its frame") << "Combo4_0" << QRect(840, 1080, 1095, 315);
    QTest::newRow("Command2") << "Command2" << QRect(9240, 120, 1335, 375);
    QTest::newRow("Text1") << "Text1" << QRect(1680, 5400, 9015, 1050);
    QTest::newRow("Command5") << "Command5" << QRect(6720, 7920, 1575, 375);
}

void TestForm1::layoutFollowsTheDesign() {
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    FormHarness h;
    auto* widget = h.form->findChild<QWidget*>(name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(),
             QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    QCOMPARE(h.form->centralWidget()->size(), QSize(719, 570));
}

void TestForm1::menuItems() {
    FormHarness h;
    const auto& v = h.v();
    const auto shown = [](QAction* a) { return a->text().remove(QLatin1Char('&')); };
    QCOMPARE(shown(v.com_set), QStringLiteral("通信串口设置(C)"));
    QCOMPARE(shown(v.ComDataSet), QStringLiteral("主串口参数设置"));
    QCOMPARE(shown(v.netset), QStringLiteral("网络参数设置"));
    QCOMPARE(shown(v.quit), QStringLiteral("退出(Q)"));
    QCOMPARE(shown(v.aboutme), QStringLiteral("关于(T)"));
    QCOMPARE(shown(v.Easer), QStringLiteral("还原设置(B)"));
    QCOMPARE(v.settingsMenu->title(), QStringLiteral("设置(&S)"));
    QCOMPARE(v.aboutMenu->title(), QStringLiteral("关于(&A)"));
    const QList<QAction*> items = v.settingsMenu->actions();
    QCOMPARE(items.size(), 5);
    QVERIFY(items.at(3)->isSeparator());
    QCOMPARE(items.at(4), v.quit);
}

void TestForm1::quitWithOpenPortClosesIt() {
    FormHarness h;
    h.openPort();
    QVERIFY(h.serial.isOpen());
    h.v().quit->trigger();
    QVERIFY(!h.serial.isOpen());
    QCOMPARE(h.serial.closeCalls, 1);
    QVERIFY(!h.form->settingsDialog());
    QVERIFY(!h.form->isVisible());
}

void TestForm1::quitWithClosedPortLeavesItAlone() {
    FormHarness h;
    h.form->show();
    h.form->ensureNetworkDialog();
    h.v().quit->trigger();
    QCOMPARE(h.serial.openAttempts, 0);
    QCOMPARE(h.serial.closeCalls, 0);
    QVERIFY(!h.form->networkDialog()); // unloaded with the window
}

void TestForm1::closeBoxWithOpenPortClosesIt() {
    FormHarness h;
    h.form->show();
    h.openPort();
    h.form->ensureNetworkDialog();
    QVERIFY(h.form->close());
    QVERIFY(!h.serial.isOpen());
    QCOMPARE(h.serial.closeCalls, 1);
}

void TestForm1::secondInstanceIsTurnedAway() {
    platform::FakeSerialControl serial;
    platform::FakePortList ports;
    platform::FakeMessageBoxes messages;
    platform::FakeSingleInstance instance;
    instance.another = true;
    bool visibleAtMessage = true;
    shell::App app({serial, ports, messages, instance});
    messages.whileShown = [&](const auto&) { visibleAtMessage = app.window().isVisible(); };
    QVERIFY(!app.Main());
    QVERIFY(!app.window().isVisible());
    QVERIFY(!visibleAtMessage);
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].text, QStringLiteral("程序已经运行,请检查是否最小化!."));
    QCOMPARE(messages.shown[0].title, QStringLiteral("系统提示"));
    QVERIFY(messages.shown[0].icon == platform::MessageBoxes::Icon::Information);
}

void TestForm1::firstInstanceIsShown() {
    platform::FakeSerialControl serial;
    platform::FakePortList ports;
    platform::FakeMessageBoxes messages;
    platform::FakeSingleInstance instance;
    shell::App app({serial, ports, messages, instance});
    QVERIFY(app.Main());
    QVERIFY(app.window().isVisible());
    QVERIFY(messages.shown.isEmpty());
    QVERIFY(!app.window().windowTitle().isEmpty());
    QVERIFY(!app.window().windowIcon().isNull());
}

void TestForm1::aboutBoxClosesOnEnterAndEsc_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Esc") << int(Qt::Key_Escape);
}

void TestForm1::aboutBoxClosesOnEnterAndEsc() {
    QFETCH(int, key);
    FormHarness h;
    h.form->show();
    bool seen = false;
    FormHarness::onNextModal([&](QDialog* dialog) {
        seen = dialog->objectName() == QStringLiteral("frmAbout");
        QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
                 QStringLiteral("Version1.00"));
        QVERIFY(!dialog->findChild<QLabel*>(QStringLiteral("picIcon"))->pixmap().isNull());
        QTest::keyClick(dialog, Qt::Key(key));
    });
    h.v().aboutme->trigger(); // returns once the box is closed
    QVERIFY(seen);
    QVERIFY(!h.form->findChild<shell::frmAbout*>()); // unloaded: the next showing loads it again
}

void TestForm1::aboutBoxIsCentredOverTheMainWindow() {
    FormHarness h;
    h.form->move(40, 30);
    h.form->show();
    shell::frmAbout about(h.form.get());
    const QRect main = h.form->frameGeometry();
    QCOMPARE(about.pos(), QPoint(main.x() + (main.width() - about.width()) / 2,
                                 main.y() + (main.height() - about.height()) / 2));
}

void TestForm1::tabFollowsTheReadingOrder() {
    FormHarness h;
    const QStringList order = tabOrder(h.v().Combo2[0], 50);
    QCOMPARE(order.mid(0, 6), (QStringList{QStringLiteral("Combo2_0"), QStringLiteral("Combo3_0"),
                                           QStringLiteral("Combo4_0"), QStringLiteral("Combo5_0"),
                                           QStringLiteral("Combo7_0"), QStringLiteral("Combo2_1")}));
    QCOMPARE(order.at(39), QStringLiteral("Combo7_7"));
    QCOMPARE(order.mid(40),
             (QStringList{QStringLiteral("Command2"), QStringLiteral("Command3"), QStringLiteral("Command6"),
                          QStringLiteral("Command4"), QStringLiteral("Combo6"), QStringLiteral("Combo8"),
                          QStringLiteral("Combo1"), QStringLiteral("Text1"), QStringLiteral("Text3"),
                          QStringLiteral("Command8")}));
    // Every menu and menu item that carries a letter in its caption answers to it.
    for (QAction* a : {h.v().com_set, h.v().quit, h.v().aboutme, h.v().Easer})
        QVERIFY2(a->text().contains(QLatin1Char('&')), qPrintable(a->text()));
}

void TestForm1::dialogsTabInTheirOrder() {
    FormHarness h;
    config::Dialog2& network = h.form->ensureNetworkDialog();
    QStringList expected{QStringLiteral("OKButton"), QStringLiteral("CancelButton")};
    for (int i = 0; i < 18; ++i)
        expected << QStringLiteral("Text1_%1").arg(i);
    expected << QStringLiteral("Command1") << QStringLiteral("Command2");
    QCOMPARE(tabOrder(network.OKButton, 22), expected);

    QStringList settings;
    FormHarness::onNextModal([&settings](QDialog* d) {
        settings = tabOrder(d->findChild<QWidget*>(QStringLiteral("Combo1")), 7);
        d->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    });
    h.v().com_set->trigger();
    QCOMPARE(settings,
             (QStringList{QStringLiteral("Combo1"), QStringLiteral("Combo3"), QStringLiteral("Combo4"),
                          QStringLiteral("Combo5"), QStringLiteral("Combo2"), QStringLiteral("Command2"),
                          QStringLiteral("Command1")}));
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
