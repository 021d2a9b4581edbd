// The network parameters dialog: its boxes on their own, and the read and write requests the main
// window sends on its timers while the dialog stays open.
#include "FormHarness.h"
#include "config/ui/Dialog2.h"

using testing::find;
using testing::FormHarness;

namespace {
const QString kExample = QStringLiteral("4014CE0008DC010203C0A80164FFFFFF00C0A8010123");

QLineEdit* box(const QWidget* dialog, int index) {
    return find<QLineEdit>(dialog, QStringLiteral("Text1_%1").arg(index));
}

// The main window connected, with the network dialog made by a read reply and shown (not modal,
// so the test keeps the thread; the timers run the same either way).
struct Connected : FormHarness {
    config::Dialog2* dialog;
    Connected() {
        connectDevice();
        feed(QByteArray::fromHex("4014CA0008DC010203C0A80101FFFFFF00C0A8010123"));
        serial.writes.clear();
        messages.shown.clear();
        dialog = find<config::Dialog2>(form.get(), QStringLiteral("Dialog2"));
        dialog->show();
    }
    void press(const char* name) { find<QPushButton>(dialog, QLatin1String(name))->click(); }
    void tick(const char* timer) { testing::tick(form.get(), QLatin1String(timer)); }
    bool active(const char* timer) { return find<QTimer>(form.get(), QLatin1String(timer))->isActive(); }
};
} // namespace

class TestNetwork : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void boxesTakeOnlyOctets_data();
    void boxesTakeOnlyOctets();
    void opensAtSetAndTabsInItsOrder();
    void setSendsTheBoxesAsTheyAreAtTheTick_data();
    void setSendsTheBoxesAsTheyAreAtTheTick();
    void syncSendsTheReadRequestOnce();
    void modalDialogStaysOpenWhileTheTimersSend();
};

void TestNetwork::boxesTakeOnlyOctets_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("selected"); // the text is selected before the input
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("after");
    QTest::newRow("256 becomes 0") << "" << false << "256"
                                   << ""
                                   << "0";
    QTest::newRow("0255 stays") << "" << false << "0255"
                                << ""
                                << "0255";
    QTest::newRow("fraction stays") << "" << false << "12.5"
                                    << ""
                                    << "12.5";
    QTest::newRow("letters, space and minus dropped") << "" << false << "1a -2"
                                                      << ""
                                                      << "12";
    QTest::newRow("refused key over a selection") << "192" << true << "x"
                                                  << ""
                                                  << "192";
    QTest::newRow("space over a selection") << "192" << true << " "
                                            << ""
                                            << "192";
    QTest::newRow("paste filtered") << "" << false << ""
                                    << QStringLiteral("1") + QChar(0) + QStringLiteral("2\t\n3x\uFFFD")
                                    << "123";
    QTest::newRow("paste stops at the cap")
        << "" << false << "" << QString(1 << 20, QLatin1Char('0')) << QString(16, QLatin1Char('0'));
}

void TestNetwork::boxesTakeOnlyOctets() {
    QFETCH(QString, before);
    QFETCH(bool, selected);
    QFETCH(QString, keys);
    QFETCH(QString, pasted);
    QFETCH(QString, after);
    config::Dialog2 dialog;
    dialog.show();
    QLineEdit* octet = box(&dialog, 3);
    octet->setText(before);
    if (selected)
        octet->selectAll();
    QTest::keyClicks(octet, keys);
    if (!pasted.isEmpty())
        octet->insert(pasted); // what a paste does
    QCOMPARE(octet->text(), after);
}

void TestNetwork::opensAtSetAndTabsInItsOrder() {
    config::Dialog2 dialog;
    QCOMPARE(dialog.focusWidget(), find<QWidget>(&dialog, QStringLiteral("OKButton")));
    QStringList order;
    for (QWidget* w = dialog.focusWidget(); order.size() < 22; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            order << w->objectName();
    QStringList expected{QStringLiteral("OKButton"), QStringLiteral("CancelButton")};
    for (int i = 0; i < 18; ++i)
        expected << QStringLiteral("Text1_%1").arg(i);
    QCOMPARE(order, expected << QStringLiteral("Command1") << QStringLiteral("Command2"));
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape); // no button answers Enter or Esc
    QTest::keyClick(&dialog, Qt::Key_Return);
    QVERIFY(dialog.isVisible());
}

void TestNetwork::setSendsTheBoxesAsTheyAreAtTheTick_data() {
    QTest::addColumn<int>("index"); // the box changed after 设置 and before the tick
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("frame"); // empty: nothing sent, the message below shown
    QTest::addColumn<QString>("message");
    QTest::newRow("edited before the tick") << 9 << "100" << kExample << QString();
    QTest::newRow("cleared first") << -1 << ""
                                   << QStringLiteral("4014CE") + QString(36, QLatin1Char('0')) +
                                          QStringLiteral("23")
                                   << QString();
    QTest::newRow("empty") << 7 << "" << QString() << QStringLiteral("输入不能为空！");
    QTest::newRow("fraction") << 7 << "12.5" << QString() << QStringLiteral("超出设定范围，请重新输入！");
    QTest::newRow("six characters") << 12 << "000001" << QString()
                                    << QStringLiteral("超出设定范围，请重新输入！");
}

void TestNetwork::setSendsTheBoxesAsTheyAreAtTheTick() {
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(QString, frame);
    QFETCH(QString, message);
    Connected c;
    c.setText(QStringLiteral("Text3"), QStringLiteral("kept"));
    if (index < 0)
        c.press("Command2"); // 清空: every box 0
    c.press("OKButton");
    c.press("OKButton"); // twice within one period: one frame
    QVERIFY(c.active("Timer4"));
    QVERIFY(c.serial.writes.isEmpty()); // nothing is copied at the click
    if (index >= 0) {
        box(c.dialog, index)->setText(text);
        box(c.dialog, 17)->clear(); // a later bad box is not reported as well
        box(c.dialog, 17)->setText(frame.isEmpty() ? QString() : QStringLiteral("1"));
    }
    c.tick("Timer4");
    c.tick("Timer4");
    QVERIFY(!c.active("Timer4"));
    QCOMPARE(c.serial.writes,
             frame.isEmpty() ? QList<QByteArray>() : QList{QByteArray::fromHex(frame.toLatin1())});
    QCOMPARE(c.text(QStringLiteral("Text3")), frame.isEmpty() ? QStringLiteral("kept") : frame);
    QCOMPARE(c.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty()) {
        QVERIFY(c.messages.shown[0].title.isEmpty()); // the application title
        QVERIFY(c.messages.shown[0].icon == platform::MessageBoxes::Icon::None);
        QCOMPARE(c.dialog->focusWidget(), box(c.dialog, index));
    }
    QVERIFY(c.dialog->isVisible());
}

void TestNetwork::syncSendsTheReadRequestOnce() {
    Connected c;
    c.press("Command1");
    c.press("Command1");
    QVERIFY(c.active("Timer3"));
    c.tick("Timer3");
    c.tick("Timer3");
    QCOMPARE(c.serial.writes, QList{QByteArray::fromHex("4002CA23")});
    QVERIFY(!c.active("Timer3"));
}

void TestNetwork::modalDialogStaysOpenWhileTheTimersSend() {
    FormHarness h;
    h.connectDevice();
    h.form->show();
    h.serial.writes.clear();
    QPoint place;
    testing::onNextModal([&](QDialog* dialog) {
        find<QPushButton>(dialog, QStringLiteral("Command1"))->click(); // 同步
        QTRY_COMPARE(h.serial.writes.size(), 1);                        // on the main window's timer
        h.feed(QByteArray::fromHex(kExample.toLatin1()).replace(2, 1, "\xCA"));
        find<QPushButton>(dialog, QStringLiteral("OKButton"))->click(); // 设置 what the device reported
        QTRY_COMPARE(h.serial.writes.size(), 2);
        QVERIFY(dialog->isVisible());
        dialog->move(dialog->pos() + QPoint(30, 20));
        place = dialog->pos();
        find<QPushButton>(dialog, QStringLiteral("CancelButton"))->click();
    });
    h.action(QStringLiteral("netset"))->trigger();
    QCOMPARE(h.serial.writes,
             (QList{QByteArray::fromHex("4002CA23"), QByteArray::fromHex(kExample.toLatin1())}));
    // Shown again: the same values at the same place.
    QString value;
    testing::onNextModal([&](QDialog* dialog) {
        QCOMPARE(dialog->pos(), place);
        value = box(dialog, 8)->text();
        dialog->reject();
    });
    h.action(QStringLiteral("netset"))->trigger();
    QCOMPARE(value, QStringLiteral("1"));
}

QTEST_MAIN(TestNetwork)
#include "tst_network.moc"
