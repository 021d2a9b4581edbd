// The console's forward frame: what the operator types on the command line, wrapped for one
// extension port, or the reason nothing is built.
#include "protocol/ForwardFrame.h"
#include "protocol/HexText.h"

#include <QTest>

using Outcome = protocol::ForwardFrame::Outcome;

Q_DECLARE_METATYPE(protocol::ForwardFrame::Outcome)

namespace {
// n data bytes as 2n digits: 00 01 02 ...
QString dataDigits(int bytes) {
    QString digits;
    for (int i = 0; i < bytes; ++i)
        digits += QStringLiteral("%1").arg(i % 256, 2, 16, QLatin1Char('0')).toUpper();
    return digits;
}
} // namespace

class TestForwardFrame : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void build_data();
    void build();
    void messageFor_data();
    void messageFor();
};

void TestForwardFrame::build_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("port");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("text");

    const QString one = QStringLiteral("1");

    QTest::newRow("01 02 03 to port 2") << QStringLiteral("01 02 03") << QStringLiteral("2") << Outcome::Built
                                        << QStringLiteral("4006DD0201020323");
    QTest::newRow("odd digit dropped")
        << QStringLiteral("a1b") << QStringLiteral("8") << Outcome::Built << QStringLiteral("4004DD08A123");
    QTest::newRow("13 bytes: length 10")
        << dataDigits(13) << one << Outcome::Built
        << QStringLiteral("4010DD01") + dataDigits(13) + QStringLiteral("23");
    QTest::newRow("12 bytes: length 0F")
        << dataDigits(12) << one << Outcome::Built
        << QStringLiteral("400FDD01") + dataDigits(12) + QStringLiteral("23");
    QTest::newRow("single digit: no data")
        << QStringLiteral("5") << one << Outcome::Built << QStringLiteral("4003DD0123");
    QTest::newRow("two digits") << QStringLiteral("12") << one << Outcome::Built
                                << QStringLiteral("4004DD011223");
    QTest::newRow("lower case folded") << QStringLiteral("abcdef") << QStringLiteral("3") << Outcome::Built
                                       << QStringLiteral("4006DD03ABCDEF23");
    QTest::newRow("spaces inside pairs") << QStringLiteral(" 4 0 2 3 ") << QStringLiteral("4")
                                         << Outcome::Built << QStringLiteral("4005DD04402323");
    QTest::newRow("252 bytes") << dataDigits(252) << QStringLiteral("5") << Outcome::Built
                               << QStringLiteral("40FFDD05") + dataDigits(252) + QStringLiteral("23");
    QTest::newRow("252 bytes and an odd digit")
        << dataDigits(252) + QStringLiteral("7") << QStringLiteral("5") << Outcome::Built
        << QStringLiteral("40FFDD05") + dataDigits(252) + QStringLiteral("23");
    QTest::newRow("253 bytes") << dataDigits(253) << one << Outcome::TooLong << QString();
    QTest::newRow("far too long") << dataDigits(600) << one << Outcome::TooLong << QString();

    QTest::newRow("x is illegal") << QStringLiteral("0x12") << one << Outcome::IllegalChar << QString();
    QTest::newRow("two lines") << QStringLiteral("0102\r\n0304") << one << Outcome::IllegalChar << QString();
    QTest::newRow("line feed") << QStringLiteral("0102\n") << one << Outcome::IllegalChar << QString();
    QTest::newRow("tab") << QStringLiteral("01\t02") << one << Outcome::IllegalChar << QString();
    QTest::newRow("single illegal character")
        << QStringLiteral("G") << one << Outcome::IllegalChar << QString();
    QTest::newRow("ligature ff") << QStringLiteral("\uFB00") << one << Outcome::IllegalChar << QString();
    QTest::newRow("full-width digit") << QStringLiteral("０１") << one << Outcome::IllegalChar << QString();
    QTest::newRow("no-break space") << QStringLiteral("01\u00A002") << one << Outcome::IllegalChar
                                    << QString();

    QTest::newRow("empty") << QString() << one << Outcome::Empty << QString();
    QTest::newRow("spaces only") << QStringLiteral("   ") << one << Outcome::Blank << QString();

    QTest::newRow("port 0") << QStringLiteral("01") << QStringLiteral("0") << Outcome::BadPort << QString();
    QTest::newRow("port 9") << QStringLiteral("01") << QStringLiteral("9") << Outcome::BadPort << QString();
    QTest::newRow("no port") << QStringLiteral("01") << QString() << Outcome::BadPort << QString();
    QTest::newRow("port not a number")
        << QStringLiteral("01") << QStringLiteral("x") << Outcome::BadPort << QString();
}

void TestForwardFrame::build() {
    QFETCH(QString, command);
    QFETCH(QString, port);
    QFETCH(Outcome, outcome);
    QFETCH(QString, text);

    const protocol::ForwardFrame frame = protocol::ForwardFrame::build(command, port);
    QCOMPARE(frame.outcome, outcome);
    QCOMPARE(frame.text, text);

    if (outcome == Outcome::Built) {
        // The frame is whole bytes, and its length byte counts everything after itself.
        QCOMPARE(frame.text.size() % 2, 0);
        const QByteArray bytes = protocol::parseHexFrame(frame.text);
        QCOMPARE(bytes.size() * 2, frame.text.size());
        QCOMPARE(quint8(bytes.at(0)), quint8(0x40));
        QCOMPARE(qsizetype(quint8(bytes.at(1))), bytes.size() - 2);
        QCOMPARE(quint8(bytes.at(2)), quint8(0xDD));
        QCOMPARE(int(bytes.at(3)), port.toInt());
        QCOMPARE(quint8(bytes.back()), quint8(0x23));
    }
}

void TestForwardFrame::messageFor_data() {
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("shown");

    QTest::newRow("empty") << Outcome::Empty << QStringLiteral("命令为空!") << true;
    QTest::newRow("illegal") << Outcome::IllegalChar << QStringLiteral("命令中含有非法字符!") << true;
    QTest::newRow("too long") << Outcome::TooLong << QString() << true;
    QTest::newRow("bad port") << Outcome::BadPort << QString() << true;
    QTest::newRow("blank: silent") << Outcome::Blank << QString() << false;
    QTest::newRow("built: silent") << Outcome::Built << QString() << false;
}

void TestForwardFrame::messageFor() {
    QFETCH(Outcome, outcome);
    QFETCH(QString, message);
    QFETCH(bool, shown);

    const QString text = protocol::ForwardFrame::messageFor(outcome);
    QCOMPARE(!text.isEmpty(), shown);
    if (!message.isEmpty())
        QCOMPARE(text, message);
}

QTEST_APPLESS_MAIN(TestForwardFrame)

#include "tst_forwardframe.moc"
