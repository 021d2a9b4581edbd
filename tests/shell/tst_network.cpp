// The network parameters dialog: its boxes, and the read and write requests sent on the timers.
#include "FormHarness.h"
#include "config/ui/Dialog2.h"

using testing::FormHarness;
using testing::spin;

namespace {
const QString kExample = QStringLiteral("4014CE0008DC010203C0A80164FFFFFF00C0A8010123");

// The main window connected to the device, with the network dialog up (not modal, so the test
// keeps the thread; the timers run the same either way).
struct Connected {
    FormHarness h;
    config::Dialog2* dialog = nullptr;
    Connected() {
        h.connectDevice();
        h.serial.writes.clear();
        h.messages.shown.clear();
        dialog = &h.form->ensureNetworkDialog();
        dialog->show();
    }
    void setBoxes(const QString& dotted) {
        const QStringList values = dotted.split(QLatin1Char('.'));
        for (int i = 0; i < values.size(); ++i)
            dialog->Text1[i]->setText(values[i]);
    }
};
} // namespace

class TestNetwork : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void typedKeys_data();
    void typedKeys();
    void pastedTextIsFiltered();
    void clearThenSetSendsZeros();
    void setSendsTheBoxesAtTheTick();
    void twoClicksWithinATickSendOneFrame();
    void badBoxSendsNothing_data();
    void badBoxSendsNothing();
    void syncSendsTheReadRequest();
    void modalDialogStaysOpenWhileTheTimersSend();
    void reopeningKeepsValuesAndPlace();
};

void TestNetwork::typedKeys_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("box");
    QTest::newRow("256 becomes 0") << "256"
                                   << "0";
    QTest::newRow("0255 stays") << "0255"
                                << "0255";
    QTest::newRow("letters dropped") << "1a2"
                                     << "12";
    QTest::newRow("space and minus dropped") << " -7"
                                             << "7";
    QTest::newRow("fraction stays") << "12.5"
                                    << "12.5";
    QTest::newRow("full stop alone") << "."
                                     << ".";
    QTest::newRow("999 becomes 0") << "999"
                                   << "0";
}

void TestNetwork::typedKeys() {
    QFETCH(QString, keys);
    QFETCH(QString, box);
    Connected c;
    QTest::keyClicks(c.dialog->Text1[3], keys);
    QCOMPARE(c.dialog->Text1[3]->text(), box);
}

void TestNetwork::pastedTextIsFiltered() {
    Connected c;
    c.dialog->Text1[0]->insert(QStringLiteral("1\u00002\t\n3x"));
    QCOMPARE(c.dialog->Text1[0]->text(), QStringLiteral("123"));
    c.dialog->Text1[1]->insert(QString::fromUtf8("\xef\xbf\xbd"
                                                 "7")); // a replacement character from bad UTF-8
    QCOMPARE(c.dialog->Text1[1]->text(), QStringLiteral("7"));
}

void TestNetwork::clearThenSetSendsZeros() {
    Connected c;
    c.dialog->Command2->click();
    c.dialog->OKButton->click();
    spin(300);
    const QString zeros = QStringLiteral("4014CE") + QString(36, QLatin1Char('0')) + QStringLiteral("23");
    QCOMPARE(c.h.serial.writes, QList<QByteArray>{QByteArray::fromHex(zeros.toLatin1())});
    QCOMPARE(c.h.v().Text3->toPlainText(), zeros);
    QVERIFY(!c.h.form->timer4().isActive());
    QVERIFY(!c.h.form->NetParamSetPending);
}

void TestNetwork::setSendsTheBoxesAtTheTick() {
    Connected c;
    c.setBoxes(QStringLiteral("0.8.220.1.2.3.192.168.1.1.255.255.255.0.192.168.1.1"));
    c.dialog->OKButton->click();
    QVERIFY(c.h.serial.writes.isEmpty()); // nothing is copied at the click
    c.dialog->Text1[9]->setText(QStringLiteral("100"));
    spin(300);
    QCOMPARE(c.h.v().Text3->toPlainText(), kExample);
    QCOMPARE(c.h.serial.writes, QList<QByteArray>{QByteArray::fromHex(kExample.toLatin1())});
    QVERIFY(c.dialog->isVisible());
}

void TestNetwork::twoClicksWithinATickSendOneFrame() {
    Connected c;
    c.dialog->Command2->click();
    c.dialog->OKButton->click();
    spin(50);
    c.dialog->OKButton->click();
    spin(400);
    QCOMPARE(c.h.serial.writes.size(), 1);
}

void TestNetwork::badBoxSendsNothing_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString empty = QStringLiteral("输入不能为空！");
    const QString range = QStringLiteral("超出设定范围，请重新输入！");
    QTest::newRow("empty") << "" << empty;
    QTest::newRow("fraction") << "12.5" << range;
    QTest::newRow("full stop") << "." << range;
    QTest::newRow("two full stops") << "1.2.3" << range;
    QTest::newRow("six characters") << "000001" << range;
}

void TestNetwork::badBoxSendsNothing() {
    QFETCH(QString, text);
    QFETCH(QString, message);
    Connected c;
    c.dialog->Command2->click();
    c.dialog->Text1[7]->setText(text);
    c.dialog->Text1[12]->setText(QString()); // a later bad box is not reported as well
    c.h.v().Text3->setPlainText(QStringLiteral("kept"));
    c.dialog->OKButton->click();
    spin(500);
    QVERIFY(c.h.serial.writes.isEmpty());
    QCOMPARE(c.h.messages.texts(), QStringList{message});
    QVERIFY(c.h.messages.shown[0].title.isEmpty()); // the application title
    QVERIFY(c.h.messages.shown[0].icon == platform::MessageBoxes::Icon::None);
    QCOMPARE(c.h.v().Text3->toPlainText(), QStringLiteral("kept"));
    QVERIFY(!c.h.form->timer4().isActive());
    QVERIFY(!c.h.form->NetParamSetPending);
    QCOMPARE(c.dialog->focusWidget(), c.dialog->Text1[7]);
}

void TestNetwork::syncSendsTheReadRequest() {
    Connected c;
    c.dialog->Command1->click();
    c.dialog->Command1->click();
    QVERIFY(c.h.form->NetParamReadPending);
    spin(300);
    QCOMPARE(c.h.serial.writes, QList<QByteArray>{QByteArray::fromHex("4002CA23")});
    QVERIFY(!c.h.form->timer3().isActive());
    QVERIFY(!c.h.form->NetParamReadPending);
}

void TestNetwork::modalDialogStaysOpenWhileTheTimersSend() {
    FormHarness h;
    h.connectDevice();
    h.serial.writes.clear();
    bool stillOpen = false;
    QList<QByteArray> sent;
    FormHarness::onNextModal([&](QDialog* d) {
        auto* dialog = qobject_cast<config::Dialog2*>(d);
        dialog->Command1->click(); // 同步
        spin(300);
        h.serial.feed(QByteArray::fromHex(kExample.mid(0, 4).toLatin1() + "CA" + kExample.mid(6).toLatin1()));
        spin(150);
        dialog->OKButton->click(); // 设置 with what the device reported
        spin(300);
        stillOpen = dialog->isVisible();
        sent = h.serial.writes;
        dialog->CancelButton->click();
    });
    h.v().netset->trigger();
    QVERIFY(stillOpen);
    QCOMPARE(sent,
             (QList<QByteArray>{QByteArray::fromHex("4002CA23"), QByteArray::fromHex(kExample.toLatin1())}));
}

void TestNetwork::reopeningKeepsValuesAndPlace() {
    FormHarness h;
    h.connectDevice();
    h.form->show();
    QPoint firstPlace;
    FormHarness::onNextModal([&](QDialog* d) {
        auto* dialog = qobject_cast<config::Dialog2*>(d);
        dialog->Text1[0]->setText(QStringLiteral("17"));
        dialog->move(dialog->pos() + QPoint(30, 20));
        firstPlace = dialog->pos();
        dialog->CancelButton->click();
    });
    h.v().netset->trigger();
    QString value;
    QPoint secondPlace;
    FormHarness::onNextModal([&](QDialog* d) {
        auto* dialog = qobject_cast<config::Dialog2*>(d);
        value = dialog->Text1[0]->text();
        secondPlace = dialog->pos();
        dialog->CancelButton->click();
    });
    h.v().netset->trigger();
    QCOMPARE(value, QStringLiteral("17"));
    QCOMPARE(secondPlace, firstPlace);
}

QTEST_MAIN(TestNetwork)
#include "tst_network.moc"
