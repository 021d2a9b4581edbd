// SPDX-License-Identifier: MIT
// The option lists of the port panels: every entry's wire code in both directions, the codes and
// texts that select or carry nothing, and the line byte.
#include "config/Tables.h"

#include <QTest>

using namespace config;

namespace {
enum class List { Baud, DataBits, StopBits, Parity, Function, OutputSwitch, ForwardPort };

const OptionTable& table(List list) {
    const OptionTable* tables[] = {&tables::baudRates(),   &tables::dataBits(),  &tables::stopBits(),
                                   &tables::parities(),    &tables::functions(), &tables::outputSwitch(),
                                   &tables::forwardPorts()};
    return *tables[int(list)];
}

// What the port-set frame makes of a list: the text it shows, or for the output switch its position.
std::optional<quint8> encode(List list, const QString& text, int position) {
    using Encoder = std::optional<quint8> (*)(const QString&);
    const Encoder encoders[] = {tables::encodeBaud, tables::encodeDataBits, tables::encodeStopBits,
                                tables::encodeParity, tables::encodeFunction};
    if (list == List::OutputSwitch)
        return tables::encodeOutputSwitch(position);
    return list == List::ForwardPort ? tables::forwardPorts().codeOfText(text) : encoders[int(list)](text);
}
} // namespace

Q_DECLARE_METATYPE(List)

class TestTables : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Every entry encodes to its own code and that code selects it again; a baud rate's code is the
    // rate / 1200 the device keeps. The codes of no entry select nothing: the list stays as it was.
    void entries_data() {
        QTest::addColumn<List>("list");
        QTest::addColumn<QList<int>>("unknownCodes");
        QTest::newRow("baud") << List::Baud << QList{0x00, 0x05, 0xC0};
        QTest::newRow("data bits") << List::DataBits << QList{4};
        QTest::newRow("stop bits") << List::StopBits << QList{2};
        QTest::newRow("parity") << List::Parity << QList{2, 4, 6};
        QTest::newRow("function") << List::Function << QList{0, 4};
        QTest::newRow("output switch") << List::OutputSwitch << QList{2, 0xFF};
        QTest::newRow("forward port") << List::ForwardPort << QList{0, 9};
    }

    void entries() {
        QFETCH(List, list);
        QFETCH(QList<int>, unknownCodes);
        const OptionTable& options = table(list);
        QCOMPARE(options.texts().size(), options.size());
        for (int i = 0; i < options.size(); ++i) {
            const quint8 code = options.codeAt(i);
            QCOMPARE(options.texts().at(i), options.textAt(i));
            QCOMPARE(encode(list, options.textAt(i), i), std::optional<quint8>(code));
            QCOMPARE(options.positionOfCode(code), std::optional<int>(i));
            if (list == List::Baud)
                QCOMPARE(options.textAt(i).toInt(), code * 1200);
        }
        for (int code : unknownCodes)
            QCOMPARE(options.positionOfCode(quint8(code)), std::optional<int>());
    }

    void typedTexts_data() {
        QTest::addColumn<List>("list");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code"); // -1: no code, the frame is refused
        const struct {
            List list;
            const char16_t* text;
            int code;
        } rows[] = {
            {List::Baud, u"306000", 0xFF},  {List::Baud, u" 9600 ", 0x08}, {List::Baud, u"1200", 0x01},
            {List::Baud, u"1800", -1},      {List::Baud, u"600", -1},      {List::Baud, u"-9600", -1},
            {List::Baud, u"307200", -1},    {List::Baud, u"9600.5", -1},   {List::Baud, u"", -1},
            {List::Baud, u"+9600", -1},     {List::DataBits, u"08", 3},    {List::DataBits, u"5.0", 0},
            {List::DataBits, u"4", -1},     {List::DataBits, u"9", -1},    {List::DataBits, u"7.5", -1},
            {List::StopBits, u"02", 1},     {List::StopBits, u"1.5", -1},  {List::StopBits, u"3", -1},
            {List::Parity, u"none", -1},    {List::Parity, u"无 ", -1},    {List::Function, u"rs232", -1},
            {List::Function, u"RS485", -1}, {List::OutputSwitch, u"", -1},
        };
        for (const auto& row : rows)
            QTest::addRow("%d '%ls'", int(row.list), qUtf16Printable(QString::fromUtf16(row.text)))
                << row.list << QString::fromUtf16(row.text) << row.code;
        QTest::newRow("baud with a NUL")
            << List::Baud << QStringLiteral("9600") + QChar(0) + QStringLiteral("0") << -1;
        QTest::newRow("data bits with a NUL") << List::DataBits << QStringLiteral("8") + QChar(0) << -1;
    }

    void typedTexts() {
        QFETCH(List, list);
        QFETCH(QString, text);
        QFETCH(int, code);
        QCOMPARE(encode(list, text, -1), code < 0 ? std::optional<quint8>() : std::optional<quint8>(code));
        if (list == List::OutputSwitch) // nothing chosen, or past its two entries
            QCOMPARE(tables::encodeOutputSwitch(2), std::optional<quint8>());
    }

    // Parity in bits 5-3, stop bits in bit 2, data bits in 1-0; bits 7-6 carry nothing.
    void lineByte_data() {
        QTest::addColumn<int>("parity");
        QTest::addColumn<int>("stopBits");
        QTest::addColumn<int>("dataBits");
        QTest::addColumn<int>("lineByte");
        QTest::newRow("8N1") << 0 << 0 << 3 << 0x03;
        QTest::newRow("7O2") << 1 << 1 << 2 << 0x0E;
        QTest::newRow("8S2") << 7 << 1 << 3 << 0x3F;
    }

    void lineByte() {
        QFETCH(int, parity);
        QFETCH(int, stopBits);
        QFETCH(int, dataBits);
        QFETCH(int, lineByte);
        const tables::LineCodes codes{quint8(parity), quint8(stopBits), quint8(dataBits)};
        QCOMPARE(int(tables::encodeLineByte(codes)), lineByte);
        QVERIFY(tables::decodeLineByte(quint8(lineByte)) == codes);
        QVERIFY(tables::decodeLineByte(quint8(lineByte | 0xC0)) == codes);
    }
};

QTEST_APPLESS_MAIN(TestTables)
#include "tst_tables.moc"
