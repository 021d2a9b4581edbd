// The hex text of frames: how the transmitter reads a text into bytes, and how received bytes are
// shown.
#include "protocol/HexText.h"

#include <QTest>

class TestHexText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parseHexFrame_data();
    void parseHexFrame();
};

void TestHexText::parseHexFrame_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray connect = QByteArray::fromHex("4002F123");
    QTest::newRow("connect, lower case") << "4002f123" << connect;
    QTest::newRow("spaces between pairs") << "40 02 f1 23" << connect;
    QTest::newRow("spaces inside pairs") << " 4 0 0 2 f 1 2 3 " << connect;
    QTest::newRow("G stops the frame") << "4002G123" << QByteArray::fromHex("4002");
    QTest::newRow("odd last digit dropped") << "4003EDE" << QByteArray::fromHex("4003ED");
    QTest::newRow("line break after the frame") << "4002CA23\r\n" << QByteArray::fromHex("4002CA23");
    QTest::newRow("tab ends the frame") << "40\t02" << QByteArray::fromHex("40");
    QTest::newRow("bytes 40 and 23 inside") << "4004DD4023 23" << QByteArray::fromHex("4004DD402323");
    QTest::newRow("spaces only") << "    " << QByteArray();
    QTest::newRow("first character no digit") << "  x4002f123" << QByteArray();
    QTest::newRow("single digit") << "F" << QByteArray();
    QTest::newRow("full-width digits") << QStringLiteral("４０") << QByteArray();
    QTest::newRow("no-break space") << QStringLiteral("40\u00A002") << QByteArray::fromHex("40");
}

void TestHexText::parseHexFrame() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(protocol::parseHexFrame(text), bytes);
    // Received bytes show as two upper-case digits each.
    QCOMPARE(protocol::toHexText(QByteArray::fromHex("07FF0a40")), QStringLiteral("07FF0A40"));
}

QTEST_APPLESS_MAIN(TestHexText)
#include "tst_hextext.moc"
