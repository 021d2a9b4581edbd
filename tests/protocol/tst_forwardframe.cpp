// The console's forward frame: what the operator types on the command line, wrapped for one
// extension port, or the reason nothing is built and what the operator is told.
#include "protocol/ForwardFrame.h"

#include <QTest>

using Outcome = protocol::ForwardFrame::Outcome;

Q_DECLARE_METATYPE(protocol::ForwardFrame::Outcome)

namespace {
// n data bytes as 2n digits: 00 01 02 ...
QString data(int bytes) {
    QString digits;
    for (int i = 0; i < bytes; ++i)
        digits += QStringLiteral("%1").arg(i % 256, 2, 16, QLatin1Char('0')).toUpper();
    return digits;
}
QString frame(const char* head, const QString& digits) {
    return QLatin1String(head) + digits + QStringLiteral("23");
}
} // namespace

class TestForwardFrame : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void build_data();
    void build();
};

void TestForwardFrame::build_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("port");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString illegal = QStringLiteral("命令中含有非法字符!");
    const QString badPort = QStringLiteral("转发串口无效!");
    QTest::newRow("to port 2") << "01 02 03"
                               << "2" << Outcome::Built << "4006DD0201020323" << QString();
    QTest::newRow("odd digit dropped") << "a1b"
                                       << "8" << Outcome::Built << "4004DD08A123" << QString();
    QTest::newRow("lower case folded") << "abcdef"
                                       << "3" << Outcome::Built << "4006DD03ABCDEF23" << QString();
    QTest::newRow("spaces inside pairs") << " 4 0 2 3 "
                                         << "4" << Outcome::Built << "4005DD04402323" << QString();
    QTest::newRow("one digit: no data") << "5"
                                        << "1" << Outcome::Built << "4003DD0123" << QString();
    QTest::newRow("12 bytes: length 0F")
        << data(12) << "1" << Outcome::Built << frame("400FDD01", data(12)) << QString();
    QTest::newRow("13 bytes: length 10")
        << data(13) << "1" << Outcome::Built << frame("4010DD01", data(13)) << QString();
    QTest::newRow("252 bytes and an odd digit") << data(252) + QStringLiteral("7") << "5" << Outcome::Built
                                                << frame("40FFDD05", data(252)) << QString();
    QTest::newRow("253 bytes") << data(253) << "1" << Outcome::TooLong << ""
                               << "命令过长,最多只能转发252个字节!";
    QTest::newRow("empty") << ""
                           << "1" << Outcome::Empty << ""
                           << "命令为空!";
    QTest::newRow("spaces only: silent") << "   "
                                         << "1" << Outcome::Blank << ""
                                         << "";
    QTest::newRow("x") << "0x12"
                       << "1" << Outcome::IllegalChar << "" << illegal;
    QTest::newRow("two lines") << "0102\r\n0304"
                               << "1" << Outcome::IllegalChar << "" << illegal;
    QTest::newRow("tab") << "01\t02"
                         << "1" << Outcome::IllegalChar << "" << illegal;
    QTest::newRow("ligature ff") << QStringLiteral("\uFB00") << "1" << Outcome::IllegalChar << "" << illegal;
    QTest::newRow("full-width digits")
        << QStringLiteral("０１") << "1" << Outcome::IllegalChar << "" << illegal;
    QTest::newRow("no-break space") << QStringLiteral("01\u00A002") << "1" << Outcome::IllegalChar << ""
                                    << illegal;
    QTest::newRow("NUL") << QString(QChar(0)) + QStringLiteral("01") << "1" << Outcome::IllegalChar << ""
                         << illegal;
    QTest::newRow("paragraph separator")
        << QStringLiteral("01\u202902") << "1" << Outcome::IllegalChar << "" << illegal;
    QTest::newRow("port 0") << "01"
                            << "0" << Outcome::BadPort << "" << badPort;
    QTest::newRow("port 9") << "01"
                            << "9" << Outcome::BadPort << "" << badPort;
    QTest::newRow("no port") << "01"
                             << "" << Outcome::BadPort << "" << badPort;
    QTest::newRow("port with a NUL") << "01" << QStringLiteral("1") + QChar(0) + QStringLiteral("7")
                                     << Outcome::BadPort << "" << badPort;
}

void TestForwardFrame::build() {
    QFETCH(QString, command);
    QFETCH(QString, port);
    QFETCH(Outcome, outcome);
    QFETCH(QString, text);
    QFETCH(QString, message);
    const protocol::ForwardFrame built = protocol::ForwardFrame::build(command, port);
    QCOMPARE(built.outcome, outcome);
    QCOMPARE(built.text, text);
    QCOMPARE(protocol::ForwardFrame::messageFor(outcome), message);
}

QTEST_APPLESS_MAIN(TestForwardFrame)
#include "tst_forwardframe.moc"
