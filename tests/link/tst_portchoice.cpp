// The port choice: what the settings dialog's lists make of it, and the line settings it opens with.
#include "link/PortChoice.h"

#include <QtTest>

using Stop = platform::LineSettings::StopBits;
using Parity = platform::LineSettings::Parity;

class TestPortChoice : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void apply_data();
    void apply();
};

void TestPortChoice::apply_data() {
    QTest::addColumn<QStringList>("lists"); // port, baud, parity, data bits, stop bits, as shown
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<bool>("usable");
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("parity");
    QTest::addColumn<int>("stop");
    const auto lists = [](const char* text) { return QString::fromUtf8(text).split(QLatin1Char('|')); };
    QTest::newRow("defaults") << lists("COM3|9600|None|8|1") << "COM3"
                              << "9600,N,8,1" << true << 9600 << int(Parity::None) << int(Stop::One);
    QTest::newRow("1.5 stop bits stay 1.5")
        << lists("COM3|9600|Odd|8|1.5") << "COM3"
        << "9600,O,8,1.5" << true << 9600 << int(Parity::Odd) << int(Stop::OneAndHalf);
    QTest::newRow("mark, 7 data bits, 2 stop bits")
        << lists("COM1|76800|Mark|7|2") << "COM1"
        << "76800,M,7,2" << true << 76800 << int(Parity::Mark) << int(Stop::Two);
    QTest::newRow("even") << lists("/dev/ttyUSB0|115200|Even|5|1") << "/dev/ttyUSB0"
                          << "115200,E,5,1" << true << 115200 << int(Parity::Even) << int(Stop::One);
    QTest::newRow("space, name kept whole")
        << lists(" COM12 |1200|Space|6|2") << "COM12"
        << "1200,S,6,2" << true << 1200 << int(Parity::Space) << int(Stop::Two);
    // A text that cannot be read leaves its value as it was: the defaults applied first.
    QTest::newRow("unreadable texts") << lists("|fast||x|3") << "COM3"
                                      << "fast,N,8,1" << false << 0 << 0 << 0;
    QTest::newRow("nine data bits") << lists("COM3|9600|None|9|1") << "COM3"
                                    << "9600,N,9,1" << false << 0 << 0 << 0;
}

void TestPortChoice::apply() {
    QFETCH(QStringList, lists);
    QFETCH(QString, name);
    QFETCH(QString, settings);
    QFETCH(bool, usable);
    QFETCH(int, baud);
    QFETCH(int, parity);
    QFETCH(int, stop);
    serial::PortChoice choice;
    QCOMPARE(choice.settingsString(), QStringLiteral(",,0,0"));
    choice.apply({QStringLiteral("COM3"), QStringLiteral("9600"), QStringLiteral("None"), QStringLiteral("8"),
                  QStringLiteral("1")});
    choice.apply({lists[0], lists[1], lists[2], lists[3], lists[4]});
    QCOMPARE(choice.PcPortName, name);
    QCOMPARE(choice.settingsString(), settings);
    QVERIFY(!choice.PcPortChosen); // only the dialog's OK confirms
    const std::optional<platform::LineSettings> line = choice.lineSettings();
    QCOMPARE(line.has_value(), usable);
    if (usable) {
        QCOMPARE(line->baud, baud);
        QCOMPARE(line->dataBits, lists[3].toInt());
        QCOMPARE(int(line->parity), parity);
        QCOMPARE(int(line->stopBits), stop);
    }
}

QTEST_APPLESS_MAIN(TestPortChoice)
#include "tst_portchoice.moc"
