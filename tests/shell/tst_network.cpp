// The network parameters dialog: its boxes on their own, and the read and write requests the main
// window sends on its timers while the dialog stays open.
#include "FormHarness.h"
#include "config/ui/Dialog2.h"

using testing::find;
using testing::FormHarness;

namespace {
const QString kExample = u"4014CE0008DC010203C0A80164FFFFFF00C0A8010123"_s;

QLineEdit* box(const QWidget* dialog, int index) {
    return find<QLineEdit>(dialog, u"Text1_%1"_s.arg(index));
}

// The main window connected, with the network dialog made by a read reply and shown (not modal,
// so the test keeps the thread; the timers tick the same either way).
struct Connected : FormHarness {
    config::Dialog2* dialog;
    Connected() {
        connectDevice();
        feed(QByteArray::fromHex("4014CA0008DC010203C0A80101FFFFFF00C0A8010123"));
        serial.writes.clear();
        messages.shown.clear();
        dialog = find<config::Dialog2>(form.get(), "Dialog2");
        dialog->show();
    }
    void press(const char* name) { find<QPushButton>(dialog, name)->click(); }
    bool active(const char* timer) { return find<QTimer>(form.get(), timer)->isActive(); }
};
} // namespace

class TestNetwork : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void boxesTakeOnlyOctets_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("keys"); // typed over the whole text when there is one
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("after");
        QTest::newRow("256 becomes 0") << ""
                                       << "256"
                                       << ""
                                       << "0";
        QTest::newRow("0255 stays") << ""
                                    << "0255"
                                    << ""
                                    << "0255";
        QTest::newRow("fraction stays") << ""
                                        << "12.5"
                                        << ""
                                        << "12.5";
        QTest::newRow("letters, space and minus dropped") << ""
                                                          << "1a -2"
                                                          << ""
                                                          << "12";
        QTest::newRow("refused key over a selection") << "192"
                                                      << "x"
                                                      << ""
                                                      << "192";
        QTest::newRow("space over a selection") << "192"
                                                << " "
                                                << ""
                                                << "192";
        QTest::newRow("paste filtered") << ""
                                        << "" << u"1"_s + QChar(0) + u"2\t\n3x\uFFFD"_s << "123";
        QTest::newRow("paste stops at the cap") << ""
                                                << "" << QString(1 << 20, u'0') << QString(16, u'0');
    }

    void boxesTakeOnlyOctets() {
        QFETCH(QString, before);
        QFETCH(QString, keys);
        QFETCH(QString, pasted);
        QFETCH(QString, after);
        config::Dialog2 dialog;
        dialog.show();
        QLineEdit* octet = box(&dialog, 3);
        octet->setText(before);
        octet->selectAll();
        QTest::keyClicks(octet, keys);
        if (!pasted.isEmpty())
            octet->insert(pasted); // what a paste does
        QCOMPARE(octet->text(), after);
    }

    void opensAtSetAndTabsInItsOrder() {
        config::Dialog2 dialog;
        QStringList order;
        for (QWidget* w = dialog.focusWidget(); w && order.size() < 22; w = w->nextInFocusChain())
            if (w->focusPolicy() & Qt::TabFocus)
                order << w->objectName();
        QStringList boxes;
        for (int i = 0; i < 18; ++i)
            boxes << u"Text1_%1"_s.arg(i);
        QCOMPARE(order.join(u' '), u"OKButton CancelButton "_s + boxes.join(u' ') + u" Command1 Command2"_s);
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape); // no button answers Enter or Esc
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(dialog.isVisible());
    }

    void setSendsTheBoxesAsTheyAreAtTheTick_data() {
        QTest::addColumn<int>("index"); // the box changed after 设置 and before the tick
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("frame"); // empty: nothing sent, the message below shown
        QTest::addColumn<QString>("message");
        const QString range = u"超出设定范围，请重新输入！"_s;
        QTest::newRow("edited before the tick") << 9 << "100" << kExample << QString();
        QTest::newRow("cleared first") << -1 << "" << u"4014CE"_s + QString(36, u'0') + u"23"_s << QString();
        QTest::newRow("empty") << 7 << "" << QString() << u"输入不能为空！"_s;
        QTest::newRow("fraction") << 7 << "12.5" << QString() << range;
        QTest::newRow("six characters") << 12 << "000001" << QString() << range;
    }

    void setSendsTheBoxesAsTheyAreAtTheTick() {
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(QString, frame);
        QFETCH(QString, message);
        Connected c;
        c.box("Text3")->setPlainText(u"kept"_s);
        if (index < 0)
            c.press("Command2"); // 清空: every box 0
        c.press("OKButton");
        c.press("OKButton");                                      // twice within one period: one frame
        QVERIFY(c.active("Timer4") && c.serial.writes.isEmpty()); // nothing is copied at the click
        if (index >= 0) {
            box(c.dialog, index)->setText(text);
            box(c.dialog, 17)
                ->setText(frame.isEmpty() ? QString() : u"1"_s); // a later bad box is not reported
        }
        testing::tick(c.form.get(), "Timer4");
        testing::tick(c.form.get(), "Timer4");
        QVERIFY(!c.active("Timer4") && c.dialog->isVisible());
        QCOMPARE(c.serial.writes,
                 frame.isEmpty() ? QList<QByteArray>() : QList{QByteArray::fromHex(frame.toLatin1())});
        QCOMPARE(c.text("Text3"), frame.isEmpty() ? u"kept"_s : frame);
        QCOMPARE(c.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        if (!message.isEmpty()) {
            QVERIFY(c.messages.shown[0].title.isEmpty()); // the application title
            QVERIFY(c.messages.shown[0].icon == platform::MessageBoxes::Icon::None);
            QCOMPARE(c.dialog->focusWidget(), box(c.dialog, index));
        }
    }

    void syncSendsTheReadRequestOnce() {
        Connected c;
        c.press("Command1");
        c.press("Command1");
        QVERIFY(c.active("Timer3"));
        testing::tick(c.form.get(), "Timer3");
        testing::tick(c.form.get(), "Timer3");
        QCOMPARE(c.serial.writes, QList{QByteArray::fromHex("4002CA23")});
        QVERIFY(!c.active("Timer3"));
    }
};

QTEST_MAIN(TestNetwork)
#include "tst_network.moc"
