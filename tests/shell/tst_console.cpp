// The command console: building, showing and sending forward frames, and its failure rules.
#include "FormHarness.h"

#include <QClipboard>

using testing::FormHarness;

class TestConsole : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sendAndGenerate_data();
    void sendAndGenerate();
    void clearLeavesTheTrace();
    void sendWithThePortClosedSaysSo();
    void pasteStopsAtTheCap();
};

void TestConsole::sendAndGenerate_data() {
    QTest::addColumn<bool>("send"); // 发送, or else 生成
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("frame"); // shown, kept as the trace and, on 发送, sent
    QTest::addColumn<QString>("message");
    const QString digits26 = QString(26, QLatin1Char('1'));
    const QString empty = QStringLiteral("命令为空!");
    const QString illegal = QStringLiteral("命令中含有非法字符!");
    QTest::newRow("spaced bytes to port 2") << true << "01 02 03" << 2 << "4006DD0201020323" << QString();
    QTest::newRow("odd digit dropped") << true << "a1b" << 8 << "4004DD08A123" << QString();
    QTest::newRow("single digit: no data") << true << "5" << 1 << "4003DD0123" << QString();
    QTest::newRow("thirteen bytes") << true << digits26 << 3
                                    << QStringLiteral("4010DD03") + digits26 + QStringLiteral("23")
                                    << QString();
    QTest::newRow("generate") << false << "12" << 1 << "4004DD011223" << QString();
    QTest::newRow("send, empty") << true << "" << 1 << "earlier" << empty;
    QTest::newRow("generate, empty") << false << "" << 1 << "" << empty;
    QTest::newRow("send, x") << true << "0x12" << 1 << "earlier" << illegal;
    QTest::newRow("generate, two lines") << false << "0102\n0304" << 1 << "" << illegal;
    QTest::newRow("generate, no-break space") << false << "01\u00A002" << 1 << "" << illegal;
    QTest::newRow("send, too long") << true << QString(506, QLatin1Char('0')) << 1 << "earlier"
                                    << QStringLiteral("命令过长,最多只能转发252个字节!");
    QTest::newRow("blank: nothing at all") << true << "    " << 1 << "earlier" << QString();
}

void TestConsole::sendAndGenerate() {
    QFETCH(bool, send);
    QFETCH(QString, command);
    QFETCH(int, port);
    QFETCH(QString, frame);
    QFETCH(QString, message);
    FormHarness h;
    h.connectDevice();
    h.serial.writes.clear();
    h.messages.shown.clear();
    h.setTrace(QStringLiteral("earlier"));
    h.setText(QStringLiteral("Text3"), QStringLiteral("earlier"));
    h.setText(QStringLiteral("Text1"), command);
    h.combo(QStringLiteral("Combo1"))->setCurrentIndex(port - 1);
    h.click(send ? QStringLiteral("Command1") : QStringLiteral("Command8"));

    QCOMPARE(h.text(QStringLiteral("Text3")), frame);
    QCOMPARE(h.trace(), frame);
    const bool sent = send && frame != QStringLiteral("earlier");
    QCOMPARE(h.serial.writes, sent ? QList{QByteArray::fromHex(frame.toLatin1())} : QList<QByteArray>());
    // The operator's text is never wiped (the box reads a no-break space as a space).
    QCOMPARE(h.text(QStringLiteral("Text1")), QString(command).replace(QChar(0xA0), u' '));
    QCOMPARE(h.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    for (const auto& box : h.messages.shown)
        QVERIFY(box.title == QStringLiteral("错误") && box.icon == platform::MessageBoxes::Icon::None);
}

void TestConsole::clearLeavesTheTrace() {
    FormHarness h;
    h.setText(QStringLiteral("Text1"), QStringLiteral("12"));
    h.click(QStringLiteral("Command8"));
    h.click(QStringLiteral("Command5"));
    QVERIFY(h.text(QStringLiteral("Text1")).isEmpty() && h.text(QStringLiteral("Text3")).isEmpty());
    QCOMPARE(h.trace(), QStringLiteral("4004DD011223"));
}

void TestConsole::sendWithThePortClosedSaysSo() {
    FormHarness h;
    h.connectDevice();
    h.serial.close(); // gone without the window noticing
    h.setText(QStringLiteral("Text1"), QStringLiteral("01"));
    h.click(QStringLiteral("Command1"));
    QCOMPARE(h.messages.texts().last(), QStringLiteral("请打开串口!"));
    QCOMPARE(h.messages.shown.last().title, QStringLiteral("注意"));
    QVERIFY(h.serial.writes.isEmpty());
}

void TestConsole::pasteStopsAtTheCap() {
    FormHarness h;
    auto* line = testing::find<QPlainTextEdit>(h.form.get(), QStringLiteral("Text1"));
    line->setPlainText(QStringLiteral("0102"));
    line->selectAll();
    QGuiApplication::clipboard()->setText(QString(1 << 20, QLatin1Char('A')));
    line->paste(); // replaces the selection with what fits of 1 MiB
    QCOMPARE(line->toPlainText(), QString(65535, QLatin1Char('A')));
    line->paste(); // full: nothing more goes in
    QTest::keyClick(line, Qt::Key_B);
    QCOMPARE(line->document()->characterCount(), 65536);
}

QTEST_MAIN(TestConsole)
#include "tst_console.moc"
