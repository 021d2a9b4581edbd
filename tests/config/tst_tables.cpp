// The option lists of the port panels: every entry's text and wire code in both directions, the
// line byte, and the texts that carry no code.
#include "config/Tables.h"
#include "protocol/Codecs.h"

#include <QTest>

using namespace config;

namespace {

enum class List { Baud, DataBits, StopBits, Parity, Function, OutputSwitch, ForwardPort };

const OptionTable& table(List list) {
    switch (list) {
    case List::Baud:
        return tables::baudRates();
    case List::DataBits:
        return tables::dataBits();
    case List::StopBits:
        return tables::stopBits();
    case List::Parity:
        return tables::parities();
    case List::Function:
        return tables::functions();
    case List::OutputSwitch:
        return tables::outputSwitch();
    case List::ForwardPort:
        break;
    }
    return tables::forwardPorts();
}

// What the port-set frame makes of a list: the text it shows, or for the output switch its position.
std::optional<quint8> encode(List list, const QString& text, int position) {
    switch (list) {
    case List::Baud:
        return tables::encodeBaud(text);
    case List::DataBits:
        return tables::encodeDataBits(text);
    case List::StopBits:
        return tables::encodeStopBits(text);
    case List::Parity:
        return tables::encodeParity(text);
    case List::Function:
        return tables::encodeFunction(text);
    case List::OutputSwitch:
        return tables::encodeOutputSwitch(position);
    case List::ForwardPort:
        break;
    }
    return tables::forwardPorts().codeOfText(text);
}

} // namespace

Q_DECLARE_METATYPE(List)

class TestTables : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void entries_data();
    void entries();
    void noCode_data();
    void noCode();
    void typedTexts_data();
    void typedTexts();
    void unknownCodes_data();
    void unknownCodes();
    void lineByte_data();
    void lineByte();
};

void TestTables::entries_data() {
    QTest::addColumn<List>("list");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");

    const struct {
        const char16_t* text;
        int code;
    } bauds[] = {{u"1200", 0x01},  {u"2400", 0x02},  {u"4800", 0x04},  {u"9600", 0x08},  {u"14400", 0x0C},
                 {u"19200", 0x10}, {u"38400", 0x20}, {u"57600", 0x30}, {u"76800", 0x40}, {u"115200", 0x60}};
    for (int i = 0; i < 10; ++i) {
        const QString text = QString::fromUtf16(bauds[i].text);
        QTest::addRow("baud %d", i) << List::Baud << i << text << bauds[i].code;
    }
    for (int i = 0; i < 4; ++i)
        QTest::addRow("data bits %d", i) << List::DataBits << i << QString::number(5 + i) << i;
    QTest::newRow("stop bits 1") << List::StopBits << 0 << QStringLiteral("1") << 0;
    QTest::newRow("stop bits 2") << List::StopBits << 1 << QStringLiteral("2") << 1;
    QTest::newRow("parity none") << List::Parity << 0 << QStringLiteral("无") << 0;
    QTest::newRow("parity odd") << List::Parity << 1 << QStringLiteral("奇校验") << 1;
    QTest::newRow("parity even") << List::Parity << 2 << QStringLiteral("偶校验") << 3;
    QTest::newRow("parity mark") << List::Parity << 3 << QStringLiteral("1校验") << 5;
    QTest::newRow("parity space") << List::Parity << 4 << QStringLiteral("空校验") << 7;
    // The function list's order is not its code order.
    QTest::newRow("RS232") << List::Function << 0 << QStringLiteral("RS232") << 0x02;
    QTest::newRow("RS485 half duplex") << List::Function << 1 << QStringLiteral("RS485半双工") << 0x03;
    QTest::newRow("RS485 full duplex") << List::Function << 2 << QStringLiteral("RS485全双工") << 0x01;
    QTest::newRow("output allowed") << List::OutputSwitch << 0 << QStringLiteral("允许") << 0x01;
    QTest::newRow("output forbidden") << List::OutputSwitch << 1 << QStringLiteral("禁止") << 0x00;
    for (int i = 0; i < 8; ++i)
        QTest::addRow("forward port %d", i + 1) << List::ForwardPort << i << QString::number(i + 1) << i + 1;
}

void TestTables::entries() {
    QFETCH(List, list);
    QFETCH(int, position);
    QFETCH(QString, text);
    QFETCH(int, code);

    const OptionTable& options = table(list);
    QCOMPARE(options.textAt(position), text);
    QCOMPARE(options.texts().at(position), text);
    QCOMPARE(int(options.codeAt(position)), code);

    // Encoding the entry and decoding its code give the same entry back.
    const std::optional<quint8> encoded = encode(list, text, position);
    QVERIFY(encoded.has_value());
    QCOMPARE(int(*encoded), code);
    QCOMPARE(options.positionOfCode(quint8(code)), std::optional<int>(position));
    QCOMPARE(options.codeOfText(text), std::optional<quint8>(quint8(code)));
}

void TestTables::noCode_data() {
    QTest::addColumn<List>("list");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");

    QTest::newRow("baud empty") << List::Baud << QString() << 0;
    QTest::newRow("baud spaces") << List::Baud << QStringLiteral("  ") << 0;
    QTest::newRow("baud not a number") << List::Baud << QStringLiteral("fast") << 0;
    QTest::newRow("baud 600 rounds to 0") << List::Baud << QStringLiteral("600") << 0;
    QTest::newRow("baud 0") << List::Baud << QStringLiteral("0") << 0;
    QTest::newRow("baud negative") << List::Baud << QStringLiteral("-9600") << 0;
    QTest::newRow("baud code 256") << List::Baud << QStringLiteral("306600") << 0;
    QTest::newRow("baud huge") << List::Baud << QStringLiteral("1e300") << 0;
    QTest::newRow("baud inf") << List::Baud << QStringLiteral("inf") << 0;
    QTest::newRow("baud nan") << List::Baud << QStringLiteral("nan") << 0;
    QTest::newRow("baud with unit") << List::Baud << QStringLiteral("9600bps") << 0;

    QTest::newRow("data bits empty") << List::DataBits << QString() << 0;
    QTest::newRow("data bits 4") << List::DataBits << QStringLiteral("4") << 0;
    QTest::newRow("data bits 9") << List::DataBits << QStringLiteral("9") << 0;
    QTest::newRow("data bits 7.5") << List::DataBits << QStringLiteral("7.5") << 0;
    QTest::newRow("data bits word") << List::DataBits << QStringLiteral("eight") << 0;

    QTest::newRow("stop bits empty") << List::StopBits << QString() << 0;
    QTest::newRow("stop bits 1.5") << List::StopBits << QStringLiteral("1.5") << 0;
    QTest::newRow("stop bits 0") << List::StopBits << QStringLiteral("0") << 0;
    QTest::newRow("stop bits 3") << List::StopBits << QStringLiteral("3") << 0;

    QTest::newRow("parity empty") << List::Parity << QString() << 0;
    QTest::newRow("parity English") << List::Parity << QStringLiteral("none") << 0;
    QTest::newRow("parity trailing space") << List::Parity << QStringLiteral("无 ") << 0;
    QTest::newRow("parity partial") << List::Parity << QStringLiteral("奇") << 0;

    QTest::newRow("function empty") << List::Function << QString() << 0;
    QTest::newRow("function lower case") << List::Function << QStringLiteral("rs232") << 0;
    QTest::newRow("function RS485") << List::Function << QStringLiteral("RS485") << 0;
    QTest::newRow("function spaced") << List::Function << QStringLiteral("RS 232") << 0;

    QTest::newRow("output switch unselected") << List::OutputSwitch << QString() << -1;
    QTest::newRow("output switch past the end") << List::OutputSwitch << QString() << 2;
}

void TestTables::noCode() {
    QFETCH(List, list);
    QFETCH(QString, text);
    QFETCH(int, position);
    QCOMPARE(encode(list, text, position), std::optional<quint8>());
}

void TestTables::typedTexts_data() {
    QTest::addColumn<List>("list");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");

    // Baud texts outside the list: rate / 1200, rounded half to even.
    QTest::newRow("baud 230400") << List::Baud << QStringLiteral("230400") << 0xC0;
    QTest::newRow("baud 306000 is the top code") << List::Baud << QStringLiteral("306000") << 0xFF;
    QTest::newRow("baud 1800 rounds up") << List::Baud << QStringLiteral("1800") << 2;
    QTest::newRow("baud 3000 rounds to even") << List::Baud << QStringLiteral("3000") << 2;
    QTest::newRow("baud 4200 rounds to even") << List::Baud << QStringLiteral("4200") << 4;
    QTest::newRow("baud 601 rounds to 1") << List::Baud << QStringLiteral("601") << 1;
    QTest::newRow("baud with spaces") << List::Baud << QStringLiteral(" 9600 ") << 0x08;
    QTest::newRow("baud with fraction") << List::Baud << QStringLiteral("9600.0") << 0x08;

    // Data and stop bits are compared as numbers.
    QTest::newRow("data bits 08") << List::DataBits << QStringLiteral("08") << 3;
    QTest::newRow("data bits 5.0") << List::DataBits << QStringLiteral("5.0") << 0;
    QTest::newRow("stop bits 02") << List::StopBits << QStringLiteral("02") << 1;
}

void TestTables::typedTexts() {
    QFETCH(List, list);
    QFETCH(QString, text);
    QFETCH(int, code);
    QCOMPARE(encode(list, text, -1), std::optional<quint8>(quint8(code)));
}

void TestTables::unknownCodes_data() {
    QTest::addColumn<List>("list");
    QTest::addColumn<int>("code");

    QTest::newRow("baud 05") << List::Baud << 0x05;
    QTest::newRow("baud 00") << List::Baud << 0x00;
    QTest::newRow("baud C0") << List::Baud << 0xC0;
    QTest::newRow("data bits 4") << List::DataBits << 4;
    QTest::newRow("stop bits 2") << List::StopBits << 2;
    QTest::newRow("parity 2") << List::Parity << 2;
    QTest::newRow("parity 4") << List::Parity << 4;
    QTest::newRow("parity 6") << List::Parity << 6;
    QTest::newRow("function 00") << List::Function << 0x00;
    QTest::newRow("function 04") << List::Function << 0x04;
    QTest::newRow("output switch 02") << List::OutputSwitch << 0x02;
    QTest::newRow("output switch FF") << List::OutputSwitch << 0xFF;
}

void TestTables::unknownCodes() {
    // A code that matches no entry leaves the list as it is.
    QFETCH(List, list);
    QFETCH(int, code);
    QCOMPARE(table(list).positionOfCode(quint8(code)), std::optional<int>());
}

void TestTables::lineByte_data() {
    QTest::addColumn<QString>("parity");
    QTest::addColumn<QString>("stopBits");
    QTest::addColumn<QString>("dataBits");
    QTest::addColumn<int>("lineByte");

    QTest::newRow("8N1") << QStringLiteral("无") << QStringLiteral("1") << QStringLiteral("8") << 0x03;
    QTest::newRow("8E1") << QStringLiteral("偶校验") << QStringLiteral("1") << QStringLiteral("8") << 0x1B;
    QTest::newRow("7O2") << QStringLiteral("奇校验") << QStringLiteral("2") << QStringLiteral("7") << 0x0E;
    QTest::newRow("8M1") << QStringLiteral("1校验") << QStringLiteral("1") << QStringLiteral("8") << 0x2B;
    QTest::newRow("8S2") << QStringLiteral("空校验") << QStringLiteral("2") << QStringLiteral("8") << 0x3F;
    QTest::newRow("5N1") << QStringLiteral("无") << QStringLiteral("1") << QStringLiteral("5") << 0x00;
    QTest::newRow("6N2") << QStringLiteral("无") << QStringLiteral("2") << QStringLiteral("6") << 0x05;
}

void TestTables::lineByte() {
    QFETCH(QString, parity);
    QFETCH(QString, stopBits);
    QFETCH(QString, dataBits);
    QFETCH(int, lineByte);

    const tables::LineCodes codes{*tables::encodeParity(parity), *tables::encodeStopBits(stopBits),
                                  *tables::encodeDataBits(dataBits)};
    QCOMPARE(int(tables::encodeLineByte(codes)), lineByte);

    // And back to the same entries.
    const tables::LineCodes decoded = tables::decodeLineByte(quint8(lineByte));
    QVERIFY(decoded == codes);
    QCOMPARE(tables::parities().textAt(*tables::parities().positionOfCode(decoded.parity)), parity);
    QCOMPARE(tables::stopBits().textAt(*tables::stopBits().positionOfCode(decoded.stopBits)), stopBits);
    QCOMPARE(tables::dataBits().textAt(*tables::dataBits().positionOfCode(decoded.dataBits)), dataBits);
}

QTEST_APPLESS_MAIN(TestTables)

#include "tst_tables.moc"
