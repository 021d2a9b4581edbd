#include "sim/Describe.h"

#include <QTest>

using namespace Qt::StringLiterals;

class DescribeTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void namesAPortRecord_data();
    void namesAPortRecord();
    void namesEachReply_data();
    void namesEachReply();
};

void DescribeTest::namesAPortRecord_data() {
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("function");
    QTest::addColumn<QString>("text");
    QTest::newRow("factory") << 0x08 << 0x03 << 0x02 << u"9600 8N1 RS232"_s;
    QTest::newRow("even parity, half duplex") << 0x60 << 0x1B << 0x03 << u"115200 8E1 RS485-half"_s;
    QTest::newRow("odd parity, 2 stop bits, 7 bits, full duplex")
        << 0x01 << 0x0E << 0x01 << u"1200 7O2 RS485-full"_s;
    QTest::newRow("mark parity") << 0x0C << 0x2B << 0x02 << u"14400 8M1 RS232"_s;
    QTest::newRow("space parity, 2 stop bits") << 0x40 << 0x3F << 0x02 << u"76800 8S2 RS232"_s;
    QTest::newRow("5 data bits, line byte 00") << 0x30 << 0x00 << 0x02 << u"57600 5N1 RS232"_s;
    QTest::newRow("codes that no list shows") << 0x05 << 0x13 << 0x07 << u"?05 line?13 function?07"_s;
    QTest::newRow("high bits of the line byte set") << 0x08 << 0xC3 << 0x02 << u"9600 line?C3 RS232"_s;
}

void DescribeTest::namesAPortRecord() {
    QFETCH(int, baud);
    QFETCH(int, line);
    QFETCH(int, function);
    QFETCH(QString, text);
    QCOMPARE(sim::describe::portRecord({quint8(baud), quint8(line), quint8(function)}), text);
}

void DescribeTest::namesEachReply_data() {
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("text");
    QTest::newRow("connected") << QByteArray::fromHex("4002E123") << u"connected"_s;
    QTest::newRow("port set") << QByteArray::fromHex("4002E223") << u"port set done"_s;
    QTest::newRow("restore") << QByteArray::fromHex("4002E423") << u"restore done"_s;
    QTest::newRow("network set") << QByteArray::fromHex("4002E523") << u"network set done"_s;
    QTest::newRow("network parameters")
        << QByteArray::fromHex("4014CA0008DC010203C0A80164FFFFFF00C0A8010123")
        << u"network parameters: mac=00:08:DC:01:02:03 ip=192.168.1.100 mask=255.255.255.0 gateway=192.168.1.1"_s;
    QTest::newRow("port configuration")
        << QByteArray::fromHex("401CFB"
                               "080302080302080302080302"
                               "0803020803020803026003016001"
                               "23")
        << u"port configuration: 1=9600 8N1 RS232 2=9600 8N1 RS232 3=9600 8N1 RS232 4=9600 8N1 RS232 "
           u"5=9600 8N1 RS232 6=9600 8N1 RS232 7=9600 8N1 RS232 8=115200 8N1 RS485-full main=115200 "
           u"output=allowed"_s;
}

void DescribeTest::namesEachReply() {
    QFETCH(QByteArray, reply);
    QFETCH(QString, text);
    QCOMPARE(sim::describe::reply(reply), text);
}

QTEST_GUILESS_MAIN(DescribeTest)
#include "tst_sim_describe.moc"
