// Hostile input: control characters and broken text in every box, floods of noise on the line,
// ports that vanish, and a device killed in the middle of a request.
#include "CountingSerial.h"
#include "FormHarness.h"
#include "PtyForm.h"
#include "SimProcess.h"
#include "Texts.h"
#include "config/ui/Dialog2.h"
#include "platform/QtSerialControl.h"
#include "platform/SimRegistry.h"
#include "platform/SystemPortList.h"
#include "platform/fake/PtyPair.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <csignal>

using platform::PtyPair;
using testing::FormHarness;
namespace texts = testing::texts;
using testing::spin;

namespace {

// Noise that never holds a start byte, so no part of it can be taken for a reply.
QByteArray noise(qsizetype size) {
    QRandomGenerator random(7);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& b : bytes) {
        b = char(random.bounded(256));
        if (b == char(0x40))
            b = 0x41;
    }
    return bytes;
}

// What no list should ever take as a value: control characters, NUL, broken UTF-8.
QStringList hostileTexts() {
    return {
        QString(QChar(0)) + QStringLiteral("9600"), QStringLiteral("96\u000100"), QStringLiteral("\t\r\n"),
        QString::fromUtf8("\xff\xfe\xc3"),          QStringLiteral("9600\u202e"), QString(4096, QChar(0x7f))};
}

} // namespace

class TestHostile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void brokenTextInEveryPanelList();
    void brokenTextInTheOctetBoxes();
    void brokenTextOnTheCommandLine();
    void brokenPortName();
    void floodInOneBurst();
    void floodAsATrickle();
    void portVanishesBetweenListingAndOpening();
    void simulatorKilledMidRequest();
};

void TestHostile::brokenTextInEveryPanelList() {
    FormHarness h;
    h.connectDevice();
    for (int i = 0; i < 8; ++i)
        h.setPort(i, QStringLiteral("9600"), QStringLiteral("8"), QStringLiteral("1"), QStringLiteral("无"),
                  QStringLiteral("RS232"));
    h.v().Combo6->setCurrentText(QStringLiteral("9600"));
    h.v().Combo8->setCurrentIndex(0);
    std::vector<QComboBox*> lists{h.v().Combo6, h.v().Combo8};
    for (int i = 0; i < 8; ++i)
        for (QComboBox* c :
             {h.v().Combo2[i], h.v().Combo3[i], h.v().Combo4[i], h.v().Combo5[i], h.v().Combo7[i]})
            lists.push_back(c);
    for (QComboBox* list : lists) {
        const QString good = list->currentText();
        for (const QString& text : hostileTexts()) {
            h.serial.writes.clear();
            h.messages.shown.clear();
            list->setEditText(text);
            h.v().Command4->click();
            QVERIFY2(h.serial.writes.isEmpty(), qPrintable(list->objectName()));
            QCOMPARE(h.messages.shown.size(), 1);
            QCOMPARE(list->currentText(), text); // nothing the operator typed is lost
        }
        list->setEditText(good);
    }
    h.serial.writes.clear();
    h.v().Command4->click();
    QCOMPARE(h.serial.writes.size(), 1);
}

void TestHostile::brokenTextInTheOctetBoxes() {
    FormHarness h;
    h.connectDevice();
    config::Dialog2& dialog = h.form->ensureNetworkDialog();
    dialog.show();
    dialog.Command2->click();
    for (const QString& text : hostileTexts()) {
        dialog.Text1[5]->clear();
        dialog.Text1[5]->insert(text);
        QVERIFY(config::NetworkFrame::filterBoxText(dialog.Text1[5]->text()) == dialog.Text1[5]->text());
    }
    dialog.Text1[5]->setText(QStringLiteral("7"));
    h.serial.writes.clear();
    dialog.OKButton->click();
    spin(300);
    QCOMPARE(h.serial.writes.size(), 1);
    QCOMPARE(h.serial.writes[0].size(), 22);
}

void TestHostile::brokenTextOnTheCommandLine() {
    FormHarness h;
    h.connectDevice();
    h.serial.writes.clear();
    for (const QString& text : hostileTexts()) {
        h.v().Text1->setPlainText(text);
        h.v().Command1->click();
        h.v().Command8->click();
    }
    QVERIFY(h.serial.writes.isEmpty());
}

void TestHostile::brokenPortName() {
    platform::QtSerialControl serial;
    platform::FakePortList ports;
    platform::FakeMessageBoxes messages;
    platform::FakeSingleInstance instance;
    shell::Form1 form({serial, ports, messages, instance});
    form.Form_Load();
    for (const QString& name : hostileTexts()) {
        form.portChoice().PcPortChosen = true;
        form.portChoice().PcPortName = name;
        form.portChoice().apply(
            {name, QStringLiteral("9600"), QStringLiteral("None"), QStringLiteral("8"), QStringLiteral("1")});
        form.view().Command2->click();
        QVERIFY(!serial.isOpen());
        QCOMPARE(form.view().Command2->text(), QStringLiteral("打开串口"));
    }
    QVERIFY(messages.texts().count(QStringLiteral("没有发现此串口或被占用!")) >= 1);
}

void TestHostile::floodInOneBurst() {
    testing::PtyForm line;
    const QByteArray flood = noise(100000);
    QVERIFY(line.pty.write(flood));
    QTRY_COMPARE_WITH_TIMEOUT(line.serial.taken, flood.size(), 30000);
    spin(100);
    QVERIFY(line.messages.shown.size() == 1); // only the request for settings
    QVERIFY(line.serial.largest <= 4096);     // the receive buffer is bounded
    // The last burst is shown, as two digits a byte.
    const QString shown = line.v().Text1->toPlainText();
    QVERIFY(!shown.isEmpty() && shown.size() % 2 == 0);
    QVERIFY(flood.toHex().toUpper().endsWith(shown.toLatin1()));
    QVERIFY(line.serial.isOpen());
}

void TestHostile::floodAsATrickle() {
    testing::PtyForm line;
    const QByteArray flood = noise(100000);
    for (qsizetype i = 0; i < flood.size(); i += 500) {
        QVERIFY(line.pty.write(flood.mid(i, 500)));
        spin(2); // never quiet for 50 ms
    }
    QTRY_COMPARE_WITH_TIMEOUT(line.serial.taken, flood.size(), 30000);
    QVERIFY(line.serial.largest <= 4096);
    QVERIFY(line.messages.shown.size() == 1);
    QVERIFY(line.serial.isOpen());
}

void TestHostile::portVanishesBetweenListingAndOpening() {
    auto pty = std::make_unique<PtyPair>();
    platform::QtSerialControl serial;
    platform::FakePortList ports;
    ports.names = {pty->slavePath()};
    platform::FakeMessageBoxes messages;
    platform::FakeSingleInstance instance;
    shell::Form1 form({serial, ports, messages, instance});
    form.Form_Load();
    FormHarness::pressInNextModal(QStringLiteral("Command2"));
    form.view().Command2->click(); // listed and chosen
    pty.reset();                   // gone before the open
    form.view().Command2->click();
    QVERIFY(!serial.isOpen());
    QCOMPARE(messages.shown.last().text, QStringLiteral("没有发现此串口或被占用!"));
    QCOMPARE(messages.shown.last().title, QStringLiteral("SETPASS"));
    QCOMPARE(form.view().Command2->text(), QStringLiteral("打开串口"));
    QVERIFY(!form.view().Command3->isEnabled());
}

void TestHostile::simulatorKilledMidRequest() {
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    testing::SimProcess sim(QStringLiteral(SIM_PATH), {QStringLiteral("--delay"), QStringLiteral("2000")},
                            runtime.path());
    QVERIFY(sim.started());
    platform::QtSerialControl serial;
    platform::SystemPortList ports;
    platform::FakeMessageBoxes messages;
    platform::FakeSingleInstance instance;
    shell::Form1 form({serial, ports, messages, instance});
    form.Form_Load();
    FormHarness::pressInNextModal(QStringLiteral("Command2"));
    form.view().Command2->click();
    form.view().Command2->click();
    QVERIFY(serial.isOpen());
    form.view().Command3->click(); // the reply would come in 2 s
    spin(200);
    QTRY_VERIFY(sim.log().contains(QStringLiteral("rx 4002F123")));
    sim.kill();
    QTRY_VERIFY_WITH_TIMEOUT(!serial.isOpen(), 5000);
    spin(200);
    QCOMPARE(messages.texts().count(texts::Lost), 1);
    QCOMPARE(form.view().Command2->text(), QStringLiteral("打开串口"));
    QVERIFY(platform::SimRegistry::ports().isEmpty()); // its leftover link is not offered
}

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
