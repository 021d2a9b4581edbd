// The hex text of frames: how the transmitter reads a text into bytes, and how received bytes are
// shown.
#include "protocol/HexText.h"

#include <QTest>

class TestHexText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parseHexFrame_data();
    void parseHexFrame();
    void toHexText_data();
    void toHexText();
};

void TestHexText::parseHexFrame_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray connect = QByteArray::fromHex("4002F123");
    QTest::newRow("connect") << QStringLiteral("4002f123") << connect;
    QTest::newRow("spaces between pairs") << QStringLiteral("40 02 f1 23") << connect;
    QTest::newRow("spaces inside pairs") << QStringLiteral(" 4 0 0 2 f 1 2 3 ") << connect;
    QTest::newRow("G stops the frame") << QStringLiteral("4002G123") << QByteArray::fromHex("4002");
    QTest::newRow("first five characters") << QStringLiteral("4002f") << QByteArray::fromHex("4002");
    QTest::newRow("port sync lower case") << QStringLiteral("4002fb23") << QByteArray::fromHex("4002FB23");
    QTest::newRow("upper case") << QStringLiteral("4003EDEE23") << QByteArray::fromHex("4003EDEE23");
    QTest::newRow("line break after the frame")
        << QStringLiteral("4002CA23\r\n") << QByteArray::fromHex("4002CA23");
    QTest::newRow("seven digits") << QStringLiteral("4003EDE") << QByteArray::fromHex("4003ED");
    QTest::newRow("tab ends the frame") << QStringLiteral("40\t02") << QByteArray::fromHex("40");
    QTest::newRow("line break ends the frame") << QStringLiteral("40\n0223") << QByteArray::fromHex("40");
    QTest::newRow("payload bytes 40 and 23")
        << QStringLiteral("4004DD4023 23") << QByteArray::fromHex("4004DD402323");

    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("spaces only") << QStringLiteral("    ") << QByteArray();
    QTest::newRow("first non-space is no digit") << QStringLiteral("  x4002f123") << QByteArray();
    QTest::newRow("single digit") << QStringLiteral("F") << QByteArray();
    QTest::newRow("full-width digits") << QStringLiteral("４０") << QByteArray();
    QTest::newRow("ligature ff") << QStringLiteral("\uFB00") << QByteArray();
    QTest::newRow("no-break space") << QStringLiteral("40\u00A002") << QByteArray::fromHex("40");
}

void TestHexText::parseHexFrame() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(protocol::parseHexFrame(text), bytes);
}

void TestHexText::toHexText_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("connect reply") << QByteArray::fromHex("4002E123") << QStringLiteral("4002E123");
    QTest::newRow("single byte below 0x10") << QByteArray::fromHex("07") << QStringLiteral("07");
    QTest::newRow("zero and top values") << QByteArray::fromHex("00FF0A") << QStringLiteral("00FF0A");
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestHexText::toHexText() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(protocol::toHexText(bytes), text);
}

QTEST_APPLESS_MAIN(TestHexText)

#include "tst_hextext.moc"
