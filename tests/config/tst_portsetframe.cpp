// The port-set frame built from the port panels, and the notice naming the first list that keeps
// it from being built.
#include "config/PortSetFrame.h"
#include "protocol/HexText.h"

#include <QMap>
#include <QTest>

using namespace config;
using Field = PanelFault::Field;

Q_DECLARE_METATYPE(config::PortPanels)
Q_DECLARE_METATYPE(config::PanelFault)
Q_DECLARE_METATYPE(config::PanelFault::Field)

namespace {

// Every port at 9600 baud, 8 data bits, 1 stop bit, no parity, RS232; main port 115200, output
// allowed.
PortPanels standardPanels() {
    PortPanels panels;
    for (ExtensionPortTexts& port : panels.ports)
        port = {QStringLiteral("9600"), QStringLiteral("8"), QStringLiteral("1"), QStringLiteral("无"),
                QStringLiteral("RS232")};
    panels.mainBaud = QStringLiteral("115200");
    panels.outputSwitchPosition = 0;
    return panels;
}

// The frame text of standardPanels() with the records of some ports replaced.
QString standardFrame(const QMap<int, QString>& records = {}, const QString& tail = QStringLiteral("6001")) {
    QString text = QStringLiteral("401CCD");
    for (int port = 1; port <= 8; ++port)
        text += records.value(port, QStringLiteral("080302"));
    return text + tail + QStringLiteral("23");
}

PortPanels withPort(int port, QString ExtensionPortTexts::*field, const QString& text) {
    PortPanels panels = standardPanels();
    panels.ports[port - 1].*field = text;
    return panels;
}

QString describe(const protocol::Result<QString, PanelFault>& result) {
    if (const QString* text = result.valueIf())
        return *text;
    const PanelFault& fault = result.fault();
    return QStringLiteral("fault port %1 field %2").arg(fault.port).arg(int(fault.field));
}

} // namespace

class TestPortSetFrame : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void frame_data();
    void frame();
    void fault_data();
    void fault();
    void message_data();
    void message();
};

void TestPortSetFrame::frame_data() {
    QTest::addColumn<PortPanels>("panels");
    QTest::addColumn<QString>("text");

    using P = ExtensionPortTexts;
    QTest::newRow("all 9600 8N1 RS232")
        << standardPanels()
        << QStringLiteral("401CCD080302080302080302080302080302080302080302080302"
                          "600123");
    QTest::newRow("5 data bits: line byte 00")
        << withPort(1, &P::dataBits, QStringLiteral("5")) << standardFrame({{1, QStringLiteral("080002")}});
    QTest::newRow("6 data bits") << withPort(1, &P::dataBits, QStringLiteral("6"))
                                 << standardFrame({{1, QStringLiteral("080102")}});
    QTest::newRow("7 data bits") << withPort(1, &P::dataBits, QStringLiteral("7"))
                                 << standardFrame({{1, QStringLiteral("080202")}});
    QTest::newRow("typed 08 data bits") << withPort(1, &P::dataBits, QStringLiteral("08")) << standardFrame();
    QTest::newRow("2 stop bits") << withPort(4, &P::stopBits, QStringLiteral("2"))
                                 << standardFrame({{4, QStringLiteral("080702")}});
    QTest::newRow("RS485 full duplex") << withPort(2, &P::function, QStringLiteral("RS485全双工"))
                                       << standardFrame({{2, QStringLiteral("080301")}});
    QTest::newRow("RS485 half duplex") << withPort(3, &P::function, QStringLiteral("RS485半双工"))
                                       << standardFrame({{3, QStringLiteral("080303")}});

    const struct {
        const char* name;
        const char16_t* text;
        const char* record;
    } parities[] = {{"parity none", u"无", "080302"},
                    {"parity odd", u"奇校验", "080B02"},
                    {"parity even", u"偶校验", "081B02"},
                    {"parity mark", u"1校验", "082B02"},
                    {"parity space", u"空校验", "083B02"}};
    for (const auto& parity : parities)
        QTest::newRow(parity.name) << withPort(5, &P::parity, QString::fromUtf16(parity.text))
                                   << standardFrame({{5, QString::fromLatin1(parity.record)}});

    QTest::newRow("custom baud 230400")
        << withPort(6, &P::baud, QStringLiteral("230400")) << standardFrame({{6, QStringLiteral("C00302")}});
    QTest::newRow("baud 115200 on port 8")
        << withPort(8, &P::baud, QStringLiteral("115200")) << standardFrame({{8, QStringLiteral("600302")}});
    QTest::newRow("baud 1200 on port 1")
        << withPort(1, &P::baud, QStringLiteral("1200")) << standardFrame({{1, QStringLiteral("010302")}});

    PortPanels forbidden = standardPanels();
    forbidden.outputSwitchPosition = 1;
    QTest::newRow("output forbidden") << forbidden << standardFrame({}, QStringLiteral("6000"));

    PortPanels slowMain = standardPanels();
    slowMain.mainBaud = QStringLiteral("1200");
    QTest::newRow("main port 1200") << slowMain << standardFrame({}, QStringLiteral("0101"));

    // Each port keeps its own record, in port order.
    PortPanels mixed = standardPanels();
    const char16_t* bauds[] = {u"1200", u"2400", u"4800", u"9600", u"14400", u"19200", u"38400", u"57600"};
    for (int i = 0; i < 8; ++i)
        mixed.ports[i].baud = QString::fromUtf16(bauds[i]);
    mixed.ports[6] = {QStringLiteral("38400"), QStringLiteral("7"), QStringLiteral("2"),
                      QStringLiteral("偶校验"), QStringLiteral("RS485全双工")};
    mixed.mainBaud = QStringLiteral("76800");
    const QMap<int, QString> records{{1, QStringLiteral("010302")}, {2, QStringLiteral("020302")},
                                     {3, QStringLiteral("040302")}, {4, QStringLiteral("080302")},
                                     {5, QStringLiteral("0C0302")}, {6, QStringLiteral("100302")},
                                     {7, QStringLiteral("201E01")}, {8, QStringLiteral("300302")}};
    QTest::newRow("mixed ports") << mixed << standardFrame(records, QStringLiteral("4001"));
}

void TestPortSetFrame::frame() {
    QFETCH(PortPanels, panels);
    QFETCH(QString, text);

    const auto result = PortSetFrame::build(panels);
    QCOMPARE(describe(result), text);

    QCOMPARE(text.size(), 60);
    const QByteArray bytes = protocol::parseHexFrame(text);
    QCOMPARE(bytes.size(), 30);
    QCOMPARE(quint8(bytes.at(1)), quint8(28));
}

void TestPortSetFrame::fault_data() {
    QTest::addColumn<PortPanels>("panels");
    QTest::addColumn<int>("port");
    QTest::addColumn<Field>("field");

    using P = ExtensionPortTexts;
    QTest::newRow("nothing chosen yet") << PortPanels{} << 1 << Field::Baud;
    QTest::newRow("port 1 baud empty") << withPort(1, &P::baud, QString()) << 1 << Field::Baud;
    QTest::newRow("port 1 baud 600") << withPort(1, &P::baud, QStringLiteral("600")) << 1 << Field::Baud;
    QTest::newRow("port 4 baud not a number")
        << withPort(4, &P::baud, QStringLiteral("x")) << 4 << Field::Baud;
    QTest::newRow("port 5 data bits 9")
        << withPort(5, &P::dataBits, QStringLiteral("9")) << 5 << Field::DataBits;
    QTest::newRow("port 5 data bits empty") << withPort(5, &P::dataBits, QString()) << 5 << Field::DataBits;
    QTest::newRow("port 8 stop bits 1.5")
        << withPort(8, &P::stopBits, QStringLiteral("1.5")) << 8 << Field::StopBits;
    QTest::newRow("port 3 parity empty") << withPort(3, &P::parity, QString()) << 3 << Field::Parity;
    QTest::newRow("port 3 parity typed")
        << withPort(3, &P::parity, QStringLiteral("odd")) << 3 << Field::Parity;
    QTest::newRow("port 2 function empty") << withPort(2, &P::function, QString()) << 2 << Field::Function;
    QTest::newRow("port 2 function typed")
        << withPort(2, &P::function, QStringLiteral("RS422")) << 2 << Field::Function;

    PortPanels main = standardPanels();
    main.mainBaud = QString();
    QTest::newRow("main baud empty") << main << 0 << Field::Baud;
    main.mainBaud = QStringLiteral("300");
    QTest::newRow("main baud 300") << main << 0 << Field::Baud;

    PortPanels output = standardPanels();
    output.outputSwitchPosition = -1;
    QTest::newRow("output switch unselected") << output << 0 << Field::OutputSwitch;

    // Several bad lists: the first in reading order is named.
    PortPanels two = withPort(2, &P::parity, QString());
    two.ports[1].baud = QString();
    QTest::newRow("baud before parity") << two << 2 << Field::Baud;
    two = withPort(2, &P::stopBits, QString());
    two.ports[1].dataBits = QString();
    QTest::newRow("data bits before stop bits") << two << 2 << Field::DataBits;
    two = withPort(2, &P::parity, QString());
    two.ports[1].stopBits = QString();
    QTest::newRow("stop bits before parity") << two << 2 << Field::StopBits;
    two = withPort(2, &P::function, QString());
    two.ports[1].parity = QString();
    QTest::newRow("parity before function") << two << 2 << Field::Parity;
    two = withPort(2, &P::function, QString());
    two.ports[5].baud = QString();
    QTest::newRow("port 2 before port 6") << two << 2 << Field::Function;
    two = withPort(8, &P::dataBits, QString());
    two.mainBaud = QString();
    two.outputSwitchPosition = -1;
    QTest::newRow("port 8 before the main port") << two << 8 << Field::DataBits;
    two = standardPanels();
    two.mainBaud = QString();
    two.outputSwitchPosition = -1;
    QTest::newRow("main baud before output switch") << two << 0 << Field::Baud;
}

void TestPortSetFrame::fault() {
    QFETCH(PortPanels, panels);
    QFETCH(int, port);
    QFETCH(Field, field);

    const auto result = PortSetFrame::build(panels);
    QCOMPARE(describe(result), describe(PanelFault{port, field}));
}

void TestPortSetFrame::message_data() {
    QTest::addColumn<PanelFault>("fault");
    QTest::addColumn<QStringList>("contains");
    QTest::addColumn<QStringList>("lacks");

    QTest::newRow("port 3 parity") << PanelFault{3, Field::Parity}
                                   << QStringList{QStringLiteral("串口3"), QStringLiteral("校验位")}
                                   << QStringList{QStringLiteral("波特率")};
    QTest::newRow("port 1 baud") << PanelFault{1, Field::Baud}
                                 << QStringList{QStringLiteral("串口1"), QStringLiteral("波特率")}
                                 << QStringList{QStringLiteral("串口0")};
    QTest::newRow("port 5 data bits")
        << PanelFault{5, Field::DataBits} << QStringList{QStringLiteral("串口5"), QStringLiteral("数据位")}
        << QStringList{};
    QTest::newRow("port 8 stop bits")
        << PanelFault{8, Field::StopBits} << QStringList{QStringLiteral("串口8"), QStringLiteral("停止位")}
        << QStringList{};
    QTest::newRow("port 2 function") << PanelFault{2, Field::Function}
                                     << QStringList{QStringLiteral("串口2"), QStringLiteral("功能")}
                                     << QStringList{};
    QTest::newRow("main port baud") << PanelFault{0, Field::Baud}
                                    << QStringList{QStringLiteral("串口0"), QStringLiteral("波特率")}
                                    << QStringList{QStringLiteral("串口0接收输出")};
    QTest::newRow("output switch") << PanelFault{0, Field::OutputSwitch}
                                   << QStringList{QStringLiteral("串口0接收输出")} << QStringList{};
}

void TestPortSetFrame::message() {
    QFETCH(PanelFault, fault);
    QFETCH(QStringList, contains);
    QFETCH(QStringList, lacks);

    const QString text = fault.message();
    for (const QString& part : contains)
        QVERIFY2(text.contains(part), qPrintable(text));
    for (const QString& part : lacks)
        QVERIFY2(!text.contains(part), qPrintable(text));
}

QTEST_APPLESS_MAIN(TestPortSetFrame)

#include "tst_portsetframe.moc"
