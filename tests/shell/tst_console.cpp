// The command console: building, showing and sending forward frames, its failure rules, and the
// command line's cap on what is pasted.
#include "FormHarness.h"

#include <QClipboard>

using testing::FormHarness;

class TestConsole : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sendAndGenerate_data() {
        QTest::addColumn<QString>("button"); // 发送 (Command1) or 生成 (Command8)
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("frame"); // shown, kept as the trace and, on 发送, sent
        QTest::addColumn<QString>("message");
        const QString empty = u"命令为空!"_s, illegal = u"命令中含有非法字符!"_s, digits = QString(26, u'1');
        QTest::newRow("spaced bytes to port 2") << "Command1"
                                                << "01 02 03" << 2 << "4006DD0201020323" << QString();
        QTest::newRow("odd digit dropped") << "Command1"
                                           << "a1b" << 8 << "4004DD08A123" << QString();
        QTest::newRow("thirteen bytes")
            << "Command1" << digits << 3 << u"4010DD03"_s + digits + u"23"_s << QString();
        QTest::newRow("generate") << "Command8"
                                  << "12" << 1 << "4004DD011223" << QString();
        QTest::newRow("send, empty: kept") << "Command1"
                                           << "" << 1 << "earlier" << empty;
        QTest::newRow("generate, empty: cleared") << "Command8"
                                                  << "" << 1 << "" << empty;
        QTest::newRow("send, x: kept") << "Command1"
                                       << "0x12" << 1 << "earlier" << illegal;
        QTest::newRow("generate, two lines: cleared") << "Command8"
                                                      << "0102\n0304" << 1 << "" << illegal;
        QTest::newRow("generate, no-break space") << "Command8" << u"01\u00A002"_s << 1 << "" << illegal;
        QTest::newRow("generate, too long: kept")
            << "Command8" << QString(506, u'0') << 1 << "earlier" << u"命令过长,最多只能转发252个字节!"_s;
        QTest::newRow("blank: nothing at all") << "Command1"
                                               << "    " << 1 << "earlier" << QString();
    }

    void sendAndGenerate() {
        QFETCH(QString, button);
        QFETCH(QString, command);
        QFETCH(int, port);
        QFETCH(QString, frame);
        QFETCH(QString, message);
        FormHarness h;
        h.connectDevice();
        h.messages.shown.clear();
        h.trace()->setText(u"earlier"_s);
        h.box("Text3")->setPlainText(u"earlier"_s);
        h.box("Text1")->setPlainText(command);
        h.combo("Combo1")->setCurrentIndex(port - 1);
        h.click(button);
        QCOMPARE(h.text("Text3"), frame);
        QCOMPARE(h.trace()->text(), frame);
        const bool sent = button == u"Command1" && message.isEmpty() && frame != u"earlier";
        QCOMPARE(h.serial.writes, sent ? QList{QByteArray::fromHex(frame.toLatin1())} : QList<QByteArray>());
        // The operator's text is never wiped (the box reads a no-break space as a space).
        QCOMPARE(h.text("Text1"), QString(command).replace(QChar(0xA0), u' '));
        QCOMPARE(h.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        for (const auto& box : h.messages.shown)
            QVERIFY(box.title == u"错误" && box.icon == platform::MessageBoxes::Icon::None);
    }

    void clearAndClosedPort() {
        FormHarness h;
        h.box("Text1")->setPlainText(u"12"_s);
        h.click("Command8");
        h.click("Command5"); // 清空 leaves the trace
        QVERIFY(h.text("Text1").isEmpty() && h.text("Text3").isEmpty());
        QCOMPARE(h.trace()->text(), u"4004DD011223"_s);
        h.connectDevice();
        h.serial.close(); // gone without the window noticing
        h.box("Text1")->setPlainText(u"01"_s);
        h.click("Command1");
        QCOMPARE(h.messages.texts().last(), u"请打开串口!"_s);
        QCOMPARE(h.messages.shown.last().title, u"注意"_s);
        QVERIFY(h.serial.writes.isEmpty());
    }

    void pasteStopsAtTheCap() {
        FormHarness h;
        QPlainTextEdit* line = h.box("Text1");
        line->setPlainText(u"0102"_s);
        line->selectAll();
        QGuiApplication::clipboard()->setText(QString(1 << 20, u'A'));
        line->paste(); // replaces the selection with what fits of 1 MiB
        QCOMPARE(line->toPlainText(), QString(65535, u'A'));
        line->paste(); // full: nothing more goes in, pasted or typed
        QTest::keyClick(line, Qt::Key_B);
        QCOMPARE(line->document()->characterCount(), 65536);
    }
};

QTEST_MAIN(TestConsole)
#include "tst_console.moc"
