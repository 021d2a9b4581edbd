// The network module's write frame built from the eighteen octet boxes, and the boxes' own rules:
// which typed characters they keep and which values they reset.
#include "config/NetworkFrame.h"
#include "protocol/HexText.h"

#include <QTest>

using namespace config;
using protocol::PadError;

Q_DECLARE_METATYPE(config::OctetTexts)
Q_DECLARE_METATYPE(protocol::PadError)

namespace {

OctetTexts boxes(std::initializer_list<int> values) {
    OctetTexts texts;
    int i = 0;
    for (int value : values)
        texts[i++] = QString::number(value);
    return texts;
}

OctetTexts zeros() {
    OctetTexts texts;
    texts.fill(QStringLiteral("0"));
    return texts;
}

OctetTexts zerosWith(int index, const QString& text) {
    OctetTexts texts = zeros();
    texts[index] = text;
    return texts;
}

QString describe(const protocol::Result<QString, BoxFault>& result) {
    if (const QString* text = result.valueIf())
        return *text;
    const BoxFault& fault = result.fault();
    return QStringLiteral("fault box %1 error %2").arg(fault.index).arg(int(fault.error));
}

QString zeroFrameWith(int index, const QString& octet) {
    QString payload = QString(36, QLatin1Char('0'));
    payload.replace(2 * index, 2, octet);
    return QStringLiteral("4014CE") + payload + QStringLiteral("23");
}

} // namespace

class TestNetworkFrame : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void build_data();
    void build();
    void fault_data();
    void fault();
    void filterBoxText_data();
    void filterBoxText();
    void exceedsOctet_data();
    void exceedsOctet();
};

void TestNetworkFrame::build_data() {
    QTest::addColumn<OctetTexts>("texts");
    QTest::addColumn<QString>("frame");

    QTest::newRow("example") << boxes(
                                    {0, 8, 220, 1, 2, 3, 192, 168, 1, 100, 255, 255, 255, 0, 192, 168, 1, 1})
                             << QStringLiteral("4014CE0008DC010203C0A80164FFFFFF00C0A8010123");
    QTest::newRow("all zeros") << zeros()
                               << QStringLiteral("4014CE") + QString(36, QLatin1Char('0')) +
                                      QStringLiteral("23");
    QTest::newRow("all 255") << boxes({255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
                                       255, 255, 255, 255})
                             << QStringLiteral("4014CE") + QString(36, QLatin1Char('F')) +
                                    QStringLiteral("23");
    QTest::newRow("leading zero 0255")
        << zerosWith(0, QStringLiteral("0255")) << zeroFrameWith(0, QStringLiteral("FF"));
    QTest::newRow("five characters 00017")
        << zerosWith(17, QStringLiteral("00017")) << zeroFrameWith(17, QStringLiteral("11"));
    QTest::newRow("spaces around") << zerosWith(9, QStringLiteral(" 100 "))
                                   << zeroFrameWith(9, QStringLiteral("64"));
    // No escaping: octets 64 and 35 travel as the start and end byte values.
    OctetTexts markers = zerosWith(5, QStringLiteral("64"));
    markers[6] = QStringLiteral("35");
    QTest::newRow("octets 64 and 35")
        << markers
        << QStringLiteral("4014CE00000000004023") + QString(22, QLatin1Char('0')) + QStringLiteral("23");
}

void TestNetworkFrame::build() {
    QFETCH(OctetTexts, texts);
    QFETCH(QString, frame);

    const auto result = NetworkFrame::build(texts);
    QCOMPARE(describe(result), frame);
    QCOMPARE(frame.size(), 44);
    const QByteArray bytes = protocol::parseHexFrame(frame);
    QCOMPARE(bytes.size(), 22);
    QCOMPARE(quint8(bytes.at(1)), quint8(20));
    QCOMPARE(quint8(bytes.at(2)), quint8(0xCE));
}

void TestNetworkFrame::fault_data() {
    QTest::addColumn<OctetTexts>("texts");
    QTest::addColumn<int>("index");
    QTest::addColumn<PadError>("error");

    QTest::newRow("nothing typed yet") << OctetTexts{} << 0 << PadError::Empty;
    QTest::newRow("empty box 6") << zerosWith(6, QString()) << 6 << PadError::Empty;
    QTest::newRow("spaces in box 4") << zerosWith(4, QStringLiteral("   ")) << 4 << PadError::Empty;
    QTest::newRow("fraction 1.5") << zerosWith(7, QStringLiteral("1.5")) << 7 << PadError::OutOfRange;
    QTest::newRow("lone full stop") << zerosWith(17, QStringLiteral(".")) << 17 << PadError::OutOfRange;
    QTest::newRow("1.2.3") << zerosWith(11, QStringLiteral("1.2.3")) << 11 << PadError::OutOfRange;
    QTest::newRow("six characters 000001")
        << zerosWith(3, QStringLiteral("000001")) << 3 << PadError::OutOfRange;
    QTest::newRow("70000 has no octet")
        << zerosWith(10, QStringLiteral("70000")) << 10 << PadError::OutOfRange;
    QTest::newRow("65536 has no octet")
        << zerosWith(13, QStringLiteral("65536")) << 13 << PadError::OutOfRange;
    QTest::newRow("99999 has no octet")
        << zerosWith(14, QStringLiteral("99999")) << 14 << PadError::OutOfRange;
    QTest::newRow("pasted minus") << zerosWith(1, QStringLiteral("-1")) << 1 << PadError::OutOfRange;
    QTest::newRow("pasted letter") << zerosWith(2, QStringLiteral("1a")) << 2 << PadError::OutOfRange;

    OctetTexts two = zerosWith(5, QStringLiteral("."));
    two[2] = QString();
    QTest::newRow("first bad box is named") << two << 2 << PadError::Empty;
    two = zerosWith(16, QString());
    two[15] = QStringLiteral("70000");
    QTest::newRow("out of range before empty") << two << 15 << PadError::OutOfRange;
}

void TestNetworkFrame::fault() {
    QFETCH(OctetTexts, texts);
    QFETCH(int, index);
    QFETCH(PadError, error);

    const auto result = NetworkFrame::build(texts);
    QCOMPARE(describe(result), describe(BoxFault{index, error}));
}

void TestNetworkFrame::filterBoxText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");

    QTest::newRow("digits") << QStringLiteral("0123456789") << QStringLiteral("0123456789");
    QTest::newRow("full stop kept") << QStringLiteral("1.5") << QStringLiteral("1.5");
    QTest::newRow("letter dropped") << QStringLiteral("12a3") << QStringLiteral("123");
    QTest::newRow("space and signs dropped") << QStringLiteral(" 1-2+") << QStringLiteral("12");
    QTest::newRow("control characters dropped") << QStringLiteral("\t25\r\n5\b") << QStringLiteral("255");
    QTest::newRow("comma dropped") << QStringLiteral("1,5") << QStringLiteral("15");
    QTest::newRow("full-width digits dropped") << QStringLiteral("１２") << QString();
    QTest::newRow("Arabic-Indic digits dropped") << QStringLiteral("\u0661\u0662") << QString();
    QTest::newRow("ideographic full stop dropped") << QStringLiteral("1\u30025") << QStringLiteral("15");
    QTest::newRow("empty") << QString() << QString();
}

void TestNetworkFrame::filterBoxText() {
    QFETCH(QString, text);
    QFETCH(QString, kept);
    QCOMPARE(NetworkFrame::filterBoxText(text), kept);
}

void TestNetworkFrame::exceedsOctet_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("exceeds");

    QTest::newRow("256") << QStringLiteral("256") << true;
    QTest::newRow("255") << QStringLiteral("255") << false;
    QTest::newRow("0255") << QStringLiteral("0255") << false;
    QTest::newRow("12.5") << QStringLiteral("12.5") << false;
    QTest::newRow("1.2.3") << QStringLiteral("1.2.3") << false;
    QTest::newRow("0") << QStringLiteral("0") << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("lone full stop") << QStringLiteral(".") << false;
    QTest::newRow("255.0") << QStringLiteral("255.0") << false;
    QTest::newRow("255.5") << QStringLiteral("255.5") << true;
    QTest::newRow("255.05") << QStringLiteral("255.05") << true;
    QTest::newRow("256.0") << QStringLiteral("256.0") << true;
    QTest::newRow("1000") << QStringLiteral("1000") << true;
    QTest::newRow("99999") << QStringLiteral("99999") << true;
    QTest::newRow("leading zeros 00000256") << QStringLiteral("00000256") << true;
    QTest::newRow("far beyond any integer") << QStringLiteral("99999999999999999999999") << true;
    QTest::newRow("25 while typing") << QStringLiteral("25") << false;
    QTest::newRow(".5") << QStringLiteral(".5") << false;
}

void TestNetworkFrame::exceedsOctet() {
    QFETCH(QString, text);
    QFETCH(bool, exceeds);
    QCOMPARE(NetworkFrame::exceedsOctet(text), exceeds);
}

QTEST_APPLESS_MAIN(TestNetworkFrame)

#include "tst_networkframe.moc"
