// The command console: building, showing and sending forward frames, and its failure rules.
#include "FormHarness.h"

using testing::FormHarness;

class TestConsole : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sendBuildsShowsAndSends_data();
    void sendBuildsShowsAndSends();
    void generateShowsWithoutSending();
    void failures_data();
    void failures();
    void blankCommandDoesNothing();
    void clearLeavesTheTrace();
    void sendWithThePortClosedSaysSo();
    void hugePasteIsRefused();
};

void TestConsole::sendBuildsShowsAndSends_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("frame");
    QTest::newRow("spaced bytes to port 2") << "01 02 03" << 2 << "4006DD0201020323";
    QTest::newRow("odd digit dropped") << "a1b" << 8 << "4004DD08A123";
    QTest::newRow("single digit: no data") << "5" << 1 << "4003DD0123";
    QTest::newRow("thirteen bytes") << QString(26, QLatin1Char('1')) << 3
                                    << QStringLiteral("4010DD03") + QString(26, QLatin1Char('1')) +
                                           QStringLiteral("23");
    QTest::newRow("twelve bytes") << QString(24, QLatin1Char('F')) << 3
                                  << QStringLiteral("400FDD03") + QString(24, QLatin1Char('F')) +
                                         QStringLiteral("23");
}

void TestConsole::sendBuildsShowsAndSends() {
    QFETCH(QString, command);
    QFETCH(int, port);
    QFETCH(QString, frame);
    FormHarness h;
    h.connectDevice();
    h.serial.writes.clear();
    h.v().Text1->setPlainText(command);
    h.v().Combo1->setCurrentIndex(port - 1);
    h.v().Command1->click();
    QCOMPARE(h.v().Text3->toPlainText(), frame);
    QCOMPARE(h.v().Text2->text(), frame);
    QCOMPARE(h.serial.writes, QList<QByteArray>{QByteArray::fromHex(frame.toLatin1())});
    QCOMPARE(h.v().Text1->toPlainText(), command); // the operator's data stays
}

void TestConsole::generateShowsWithoutSending() {
    FormHarness h;
    h.openPort();
    h.v().Text1->setPlainText(QStringLiteral("12"));
    h.v().Command8->click();
    QCOMPARE(h.v().Text3->toPlainText(), QStringLiteral("4004DD011223"));
    QCOMPARE(h.v().Text2->text(), QStringLiteral("4004DD011223"));
    QVERIFY(h.serial.writes.isEmpty());
}

void TestConsole::failures_data() {
    QTest::addColumn<bool>("generate");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("cleared"); // Text2 and Text3 emptied
    const QString empty = QStringLiteral("命令为空!");
    const QString illegal = QStringLiteral("命令中含有非法字符!");
    QTest::newRow("send, empty") << false << "" << empty << false;
    QTest::newRow("generate, empty") << true << "" << empty << true;
    QTest::newRow("send, x") << false << "0x12" << illegal << false;
    QTest::newRow("generate, x") << true << "0x12" << illegal << true;
    QTest::newRow("send, two lines") << false << "0102\n0304" << illegal << false;
    QTest::newRow("generate, tab") << true << "01\t02" << illegal << true;
    QTest::newRow("send, too long") << false << QString(506, QLatin1Char('0')) << QString() << false;
    QTest::newRow("generate, too long") << true << QString(506, QLatin1Char('0')) << QString() << false;
}

void TestConsole::failures() {
    QFETCH(bool, generate);
    QFETCH(QString, command);
    QFETCH(QString, message);
    QFETCH(bool, cleared);
    FormHarness h;
    h.connectDevice();
    h.serial.writes.clear();
    h.messages.shown.clear();
    h.v().Text2->setText(QStringLiteral("40"));
    h.v().Text3->setPlainText(QStringLiteral("earlier frame"));
    h.v().Text1->setPlainText(command);
    (generate ? h.v().Command8 : h.v().Command1)->click();

    QVERIFY(h.serial.writes.isEmpty());
    QCOMPARE(h.messages.shown.size(), 1);
    QCOMPARE(h.messages.shown[0].title, QStringLiteral("错误"));
    QVERIFY(h.messages.shown[0].icon == platform::MessageBoxes::Icon::None);
    if (!message.isEmpty())
        QCOMPARE(h.messages.shown[0].text, message);
    QCOMPARE(h.v().Text1->toPlainText(), command); // never wiped: the typo can be corrected
    QCOMPARE(h.v().Text2->text().isEmpty(), cleared);
    QCOMPARE(h.v().Text3->toPlainText().isEmpty(), cleared);
}

void TestConsole::blankCommandDoesNothing() {
    FormHarness h;
    h.connectDevice();
    h.serial.writes.clear();
    h.messages.shown.clear();
    h.v().Text1->setPlainText(QStringLiteral("    "));
    h.v().Command1->click();
    h.v().Command8->click();
    QVERIFY(h.serial.writes.isEmpty());
    QVERIFY(h.messages.shown.isEmpty());
}

void TestConsole::clearLeavesTheTrace() {
    FormHarness h;
    h.v().Text1->setPlainText(QStringLiteral("12"));
    h.v().Command8->click();
    h.v().Command5->click();
    QVERIFY(h.v().Text1->toPlainText().isEmpty());
    QVERIFY(h.v().Text3->toPlainText().isEmpty());
    QCOMPARE(h.v().Text2->text(), QStringLiteral("4004DD011223"));
}

void TestConsole::sendWithThePortClosedSaysSo() {
    FormHarness h;
    h.connectDevice();
    h.serial.close();
    h.v().Text1->setPlainText(QStringLiteral("01"));
    h.v().Command1->click();
    QCOMPARE(h.messages.shown.last().text, QStringLiteral("请打开串口!"));
    QVERIFY(h.serial.writes.isEmpty());
}

void TestConsole::hugePasteIsRefused() {
    FormHarness h;
    h.connectDevice();
    h.serial.writes.clear();
    h.v().Text1->setPlainText(QString(1 << 20, QLatin1Char('A')));
    h.v().Command1->click();
    QVERIFY(h.serial.writes.isEmpty());
    QCOMPARE(h.messages.shown.last().title, QStringLiteral("错误"));
    QCOMPARE(h.v().Text1->document()->characterCount(), (1 << 20) + 1);
}

QTEST_MAIN(TestConsole)
#include "tst_console.moc"
