// The communication-port settings dialog: its lists, the choice it hands over, and loading.
#include "FormHarness.h"
#include "link/ui/Dialog.h"

using testing::FormHarness;

class TestDialog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadSelectsLastPortAndDefaults();
    void okStoresTheChoice_data();
    void okStoresTheChoice();
    void cancelOnFirstShowingStoresDefaultsOnly();
    void laterShowingsKeepSelectionsAndSeeNewPorts();
    void typedPathSurvivesReshowing();
    void vanishedPortFallsBackToTheLastOne();
    void closingByTheFrameRestoresDefaultsNextTime();
    void noPortsLeavesTheNameEmpty();
    void enterAndEscDoNothing();
};

void TestDialog::loadSelectsLastPortAndDefaults() {
    FormHarness h;
    serial::Dialog* dialog = nullptr;
    FormHarness::onNextModal([&](QDialog* d) {
        dialog = qobject_cast<serial::Dialog*>(d);
        QCOMPARE(dialog->Combo1->count(), 2);
        QCOMPARE(dialog->Combo1->itemText(0), QStringLiteral("COM1"));
        QCOMPARE(dialog->Combo1->currentText(), QStringLiteral("COM3"));
        QCOMPARE(dialog->Combo2->currentText(), QStringLiteral("9600"));
        QCOMPARE(dialog->Combo3->currentText(), QStringLiteral("8"));
        QCOMPARE(dialog->Combo4->currentText(), QStringLiteral("1"));
        QCOMPARE(dialog->Combo5->currentText(), QStringLiteral("None"));
        // Every rate the device's main port can be set to can be reached from the PC.
        QVERIFY(dialog->Combo2->findText(QStringLiteral("76800")) >= 0);
        QVERIFY(dialog->Combo2->findText(QStringLiteral("56000")) >= 0);
        QVERIFY(dialog->Combo2->isVisible());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("串口设置"));
        dialog->Command2->click();
    });
    h.v().com_set->trigger();
    QVERIFY(dialog);
    const auto& choice = h.form->portChoice();
    QCOMPARE(choice.PcPortName, QStringLiteral("COM3"));
    QCOMPARE(choice.settingsString(), QStringLiteral("9600,N,8,1"));
    QVERIFY(choice.PcPortChosen);
}

void TestDialog::okStoresTheChoice_data() {
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("baud");
    QTest::addColumn<QString>("dataBits");
    QTest::addColumn<QString>("stopBits");
    QTest::addColumn<QString>("parity");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("stopBitsOpened");
    using Stop = platform::LineSettings::StopBits;
    QTest::newRow("defaults") << "COM3"
                              << "9600"
                              << "8"
                              << "1"
                              << "None"
                              << "9600,N,8,1" << int(Stop::One);
    QTest::newRow("one and a half stop bits stay 1.5") << "COM3"
                                                       << "9600"
                                                       << "8"
                                                       << "1.5"
                                                       << "None"
                                                       << "9600,N,8,1.5" << int(Stop::OneAndHalf);
    QTest::newRow("mark") << "COM1"
                          << "9600"
                          << "7"
                          << "2"
                          << "Mark"
                          << "9600,M,7,2" << int(Stop::Two);
    QTest::newRow("space") << "COM1"
                           << "9600"
                           << "5"
                           << "1"
                           << "Space"
                           << "9600,S,5,1" << int(Stop::One);
    QTest::newRow("baud can be changed") << "COM1"
                                         << "76800"
                                         << "8"
                                         << "1"
                                         << "Even"
                                         << "76800,E,8,1" << int(Stop::One);
    QTest::newRow("two-digit port kept whole") << "COM12"
                                               << "115200"
                                               << "8"
                                               << "1"
                                               << "Odd"
                                               << "115200,O,8,1" << int(Stop::One);
}

void TestDialog::okStoresTheChoice() {
    QFETCH(QString, port);
    QFETCH(QString, baud);
    QFETCH(QString, dataBits);
    QFETCH(QString, stopBits);
    QFETCH(QString, parity);
    QFETCH(QString, settings);
    QFETCH(int, stopBitsOpened);
    FormHarness h(
        {QStringLiteral("COM1"), QStringLiteral("COM3"), QStringLiteral("COM12"), QStringLiteral("COM10")});
    FormHarness::onNextModal([&](QDialog* d) {
        auto* dialog = qobject_cast<serial::Dialog*>(d);
        dialog->Combo1->setCurrentText(port);
        dialog->Combo2->setCurrentText(baud);
        dialog->Combo3->setCurrentText(dataBits);
        dialog->Combo4->setCurrentText(stopBits);
        dialog->Combo5->setCurrentText(parity);
        dialog->Command2->click();
    });
    h.v().com_set->trigger();
    QCOMPARE(h.form->portChoice().PcPortName, port);
    QCOMPARE(h.form->portChoice().settingsString(), settings);

    h.v().Command2->click();
    QCOMPARE(h.serial.openings.size(), 1);
    QCOMPARE(h.serial.openings[0].portName, port); // opened by its name, never by its last digit
    QCOMPARE(int(h.serial.openings[0].settings.stopBits), stopBitsOpened);
    QCOMPARE(h.serial.openings[0].settings.baud, baud.toInt());
    QCOMPARE(h.serial.openings[0].settings.dataBits, dataBits.toInt());
}

void TestDialog::cancelOnFirstShowingStoresDefaultsOnly() {
    FormHarness h;
    FormHarness::pressInNextModal(QStringLiteral("Command1"));
    h.v().com_set->trigger();
    QCOMPARE(h.form->portChoice().PcPortName, QStringLiteral("COM3"));
    QVERIFY(!h.form->portChoice().PcPortChosen);
    // "打开串口" therefore still asks for the settings.
    FormHarness::pressInNextModal(QStringLiteral("Command1"));
    h.v().Command2->click();
    QCOMPARE(h.messages.texts(), QStringList{QStringLiteral("请设置串口参数!")});
    QCOMPARE(h.serial.openAttempts, 0);
}

void TestDialog::laterShowingsKeepSelectionsAndSeeNewPorts() {
    FormHarness h;
    FormHarness::onNextModal([](QDialog* d) {
        auto* dialog = qobject_cast<serial::Dialog*>(d);
        dialog->Combo1->setCurrentText(QStringLiteral("COM1"));
        dialog->Combo5->setCurrentText(QStringLiteral("Even"));
        dialog->Command1->click();
    });
    h.v().com_set->trigger();
    h.ports.names.append(QStringLiteral("/dev/ttyUSB0")); // plugged in meanwhile
    FormHarness::onNextModal([](QDialog* d) {
        auto* dialog = qobject_cast<serial::Dialog*>(d);
        QCOMPARE(dialog->Combo1->count(), 3);
        QCOMPARE(dialog->Combo1->currentText(), QStringLiteral("COM1"));
        QCOMPARE(dialog->Combo5->currentText(), QStringLiteral("Even"));
        QVERIFY(dialog->Combo1->findText(QStringLiteral("/dev/ttyUSB0")) >= 0);
        dialog->Command2->click();
    });
    h.v().com_set->trigger();
    QCOMPARE(h.form->portChoice().settingsString(), QStringLiteral("9600,E,8,1"));
    QCOMPARE(h.form->portChoice().PcPortName, QStringLiteral("COM1"));
}

void TestDialog::typedPathSurvivesReshowing() {
    FormHarness h;
    FormHarness::onNextModal([](QDialog* d) {
        auto* dialog = qobject_cast<serial::Dialog*>(d);
        dialog->Combo1->setEditText(QStringLiteral("/dev/pts/7"));
        dialog->Command2->click();
    });
    h.v().com_set->trigger();
    QCOMPARE(h.form->portChoice().PcPortName, QStringLiteral("/dev/pts/7"));
    FormHarness::onNextModal([](QDialog* d) {
        QCOMPARE(qobject_cast<serial::Dialog*>(d)->Combo1->currentText(), QStringLiteral("/dev/pts/7"));
        qobject_cast<serial::Dialog*>(d)->Command1->click();
    });
    h.v().com_set->trigger();
}

void TestDialog::vanishedPortFallsBackToTheLastOne() {
    FormHarness h;
    FormHarness::pressInNextModal(QStringLiteral("Command1"));
    h.v().com_set->trigger(); // COM3 selected
    h.ports.names = {QStringLiteral("COM1"), QStringLiteral("COM5")};
    FormHarness::onNextModal([](QDialog* d) {
        QCOMPARE(qobject_cast<serial::Dialog*>(d)->Combo1->currentText(), QStringLiteral("COM5"));
        qobject_cast<serial::Dialog*>(d)->Command2->click();
    });
    h.v().com_set->trigger();
    QCOMPARE(h.form->portChoice().PcPortName, QStringLiteral("COM5"));
}

void TestDialog::closingByTheFrameRestoresDefaultsNextTime() {
    FormHarness h;
    FormHarness::onNextModal([](QDialog* d) {
        auto* dialog = qobject_cast<serial::Dialog*>(d);
        dialog->Combo3->setCurrentText(QStringLiteral("7"));
        dialog->Command1->click(); // hidden only: the 7 stays
    });
    h.v().com_set->trigger();
    FormHarness::onNextModal([](QDialog* d) {
        QCOMPARE(qobject_cast<serial::Dialog*>(d)->Combo3->currentText(), QStringLiteral("7"));
        d->close(); // through its frame: unloaded
    });
    h.v().com_set->trigger();
    QVERIFY(!h.form->settingsDialog()->isLoaded());
    FormHarness::onNextModal([](QDialog* d) {
        QCOMPARE(qobject_cast<serial::Dialog*>(d)->Combo3->currentText(), QStringLiteral("8"));
        qobject_cast<serial::Dialog*>(d)->Command1->click();
    });
    h.v().com_set->trigger();
}

void TestDialog::noPortsLeavesTheNameEmpty() {
    FormHarness h(QStringList{});
    FormHarness::onNextModal([](QDialog* d) {
        QCOMPARE(qobject_cast<serial::Dialog*>(d)->Combo1->count(), 0);
        QVERIFY(qobject_cast<serial::Dialog*>(d)->Combo1->currentText().isEmpty());
        qobject_cast<serial::Dialog*>(d)->Command2->click();
    });
    h.v().com_set->trigger();
    QVERIFY(h.form->portChoice().PcPortName.isEmpty());
    QVERIFY(h.form->portChoice().PcPortChosen);
}

void TestDialog::enterAndEscDoNothing() {
    FormHarness h;
    FormHarness::onNextModal([](QDialog* d) {
        QTest::keyClick(d, Qt::Key_Escape);
        QTest::keyClick(d, Qt::Key_Return);
        QVERIFY(d->isVisible());
        qobject_cast<serial::Dialog*>(d)->Command1->click();
    });
    h.v().com_set->trigger();
}

QTEST_MAIN(TestDialog)
#include "tst_dialog.moc"
