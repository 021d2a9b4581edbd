// The network module's write frame built from the eighteen octet boxes, and the boxes' own rules:
// which characters they keep and which values they reset.
#include "config/NetworkFrame.h"

#include <QTest>

using namespace config;

namespace {
// Eighteen boxes of "0" with some replaced, e.g. "5=64 6=35"; "all=x" sets every box.
OctetTexts boxes(const QString& edits) {
    OctetTexts texts;
    texts.fill(QStringLiteral("0"));
    for (const QString& edit : edits.split(u' ', Qt::SkipEmptyParts)) {
        const QString key = edit.section(u'=', 0, 0);
        if (key == QLatin1String("all"))
            texts.fill(edit.section(u'=', 1));
        else
            texts[key.toInt()] = edit.section(u'=', 1);
    }
    return texts;
}
} // namespace

class TestNetworkFrame : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void build_data();
    void build();
    void boxRules_data();
    void boxRules();
};

void TestNetworkFrame::build_data() {
    QTest::addColumn<QString>("edits");
    QTest::addColumn<QString>("result"); // the frame, or the first bad box and why
    const QString zeros = QString(36, QLatin1Char('0'));
    QTest::newRow("example")
        << "0=0 1=8 2=220 3=1 4=2 5=3 6=192 7=168 8=1 9=100 10=255 11=255 12=255 13=0 14=192 "
           "15=168 16=1 17=1"
        << "4014CE0008DC010203C0A80164FFFFFF00C0A8010123";
    QTest::newRow("all zeros") << "" << QStringLiteral("4014CE") + zeros + QStringLiteral("23");
    QTest::newRow("all 255") << "all=255"
                             << QStringLiteral("4014CE") + QString(36, QLatin1Char('F')) +
                                    QStringLiteral("23");
    QTest::newRow("0255 and 00017") << "0=0255 17=00017"
                                    << QStringLiteral("4014CEFF") + QString(32, QLatin1Char('0')) +
                                           QStringLiteral("1123");
    QTest::newRow("64 and 35 travel unescaped")
        << "5=64 6=35"
        << QStringLiteral("4014CE00000000004023") + QString(22, QLatin1Char('0')) + QStringLiteral("23");
    QTest::newRow("nothing typed yet") << "all="
                                       << "box 0 error 1";
    QTest::newRow("empty box 4") << "4="
                                 << "box 4 error 1";
    QTest::newRow("fraction") << "7=1.5"
                              << "box 7 error 2";
    QTest::newRow("lone full stop") << "17=."
                                    << "box 17 error 2";
    QTest::newRow("six characters") << "3=000001"
                                    << "box 3 error 2";
    QTest::newRow("65536 has no octet") << "13=65536"
                                        << "box 13 error 2";
    QTest::newRow("the first bad box is named") << "5=. 2="
                                                << "box 2 error 1";
}

void TestNetworkFrame::build() {
    QFETCH(QString, edits);
    QFETCH(QString, result);
    const auto built = NetworkFrame::build(boxes(edits));
    if (const BoxFault* fault = built.faultIf())
        QCOMPARE(QStringLiteral("box %1 error %2").arg(fault->index).arg(int(fault->error)), result);
    else
        QCOMPARE(built.value(), result);
}

void TestNetworkFrame::boxRules_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept"); // what the box keeps of it
    QTest::addColumn<bool>("exceeds"); // reset to 0
    QTest::newRow("digits") << "0123456789"
                            << "0123456789" << true;
    QTest::newRow("255") << "255"
                         << "255" << false;
    QTest::newRow("256") << "256"
                         << "256" << true;
    QTest::newRow("0255") << "0255"
                          << "0255" << false;
    QTest::newRow("00000256") << "00000256"
                              << "00000256" << true;
    QTest::newRow("12.5") << "12.5"
                          << "12.5" << false;
    QTest::newRow("1.2.3") << "1.2.3"
                           << "1.2.3" << false;
    QTest::newRow("255.0") << "255.0"
                           << "255.0" << false;
    QTest::newRow("255.05") << "255.05"
                            << "255.05" << true;
    QTest::newRow("256.0") << "256.0"
                           << "256.0" << true;
    QTest::newRow(".5") << ".5"
                        << ".5" << false;
    QTest::newRow("empty") << ""
                           << "" << false;
    QTest::newRow("far beyond any integer") << "99999999999999999999999"
                                            << "99999999999999999999999" << true;
    QTest::newRow("letters, signs, controls") << " 1-2+a\t5\r\n"
                                              << "125" << false;
    QTest::newRow("full-width and Arabic-Indic digits") << QStringLiteral("１２\u0661") << "" << false;
    QTest::newRow("ideographic full stop") << QStringLiteral("1\u30025") << "15" << false;
}

void TestNetworkFrame::boxRules() {
    QFETCH(QString, text);
    QFETCH(QString, kept);
    QFETCH(bool, exceeds);
    QCOMPARE(NetworkFrame::filterBoxText(text), kept);
    QCOMPARE(NetworkFrame::exceedsOctet(text), exceeds);
}

QTEST_APPLESS_MAIN(TestNetworkFrame)
#include "tst_networkframe.moc"
