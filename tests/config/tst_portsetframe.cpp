// The port-set frame built from the port panels, and the notice naming the first list that keeps
// it from being built.
#include "config/PortSetFrame.h"

#include <QTest>

using namespace config;

namespace {
// Every port at 9600 8N1 RS232, main port 115200, output allowed, changed by edits such as
// "3.parity=偶校验 main=1200 switch=1" (an empty value empties the list).
PortPanels panels(const QString& edits) {
    PortPanels p;
    for (ExtensionPortTexts& port : p.ports)
        port = {QStringLiteral("9600"), QStringLiteral("8"), QStringLiteral("1"), QStringLiteral("无"),
                QStringLiteral("RS232")};
    p.mainBaud = QStringLiteral("115200");
    p.outputSwitchPosition = 0;
    for (const QString& edit : edits.split(u' ', Qt::SkipEmptyParts)) {
        const QString key = edit.section(u'=', 0, 0);
        const QString value = edit.section(u'=', 1);
        if (key == QLatin1String("main")) {
            p.mainBaud = value;
        } else if (key == QLatin1String("switch")) {
            p.outputSwitchPosition = value.toInt();
        } else {
            ExtensionPortTexts& port = p.ports[key.section(u'.', 0, 0).toInt() - 1];
            const QString field = key.section(u'.', 1);
            (field == QLatin1String("baud")       ? port.baud
             : field == QLatin1String("dataBits") ? port.dataBits
             : field == QLatin1String("stopBits") ? port.stopBits
             : field == QLatin1String("parity")   ? port.parity
                                                  : port.function) = value;
        }
    }
    return p;
}

// The frame with the records of some ports (1..8) replaced, and its last two bytes.
QString frame(const QMap<int, const char*>& records, const char* tail = "6001") {
    QString text = QStringLiteral("401CCD");
    for (int port = 1; port <= 8; ++port)
        text += QLatin1String(records.value(port, "080302"));
    return text + QLatin1String(tail) + QStringLiteral("23");
}

QString fault(int port, PanelFault::Field field) {
    return QStringLiteral("fault %1 %2").arg(port).arg(int(field));
}
} // namespace

class TestPortSetFrame : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void build_data();
    void build();
};

void TestPortSetFrame::build_data() {
    QTest::addColumn<QString>("edits");
    QTest::addColumn<QString>("result"); // the frame, or the fault
    QTest::addColumn<QString>("message");
    using F = PanelFault::Field;
    const QString none;
    QTest::newRow("all 9600 8N1 RS232") << "" << frame({}) << none;
    QTest::newRow("5 data bits: line byte 00") << "1.dataBits=5" << frame({{1, "080002"}}) << none;
    QTest::newRow("typed 08 data bits") << "1.dataBits=08" << frame({}) << none;
    QTest::newRow("6N2") << "4.stopBits=2 4.dataBits=6" << frame({{4, "080502"}}) << none;
    QTest::newRow("RS485 full duplex") << "2.function=RS485全双工" << frame({{2, "080301"}}) << none;
    QTest::newRow("RS485 half duplex") << "3.function=RS485半双工" << frame({{3, "080303"}}) << none;
    QTest::newRow("odd parity") << "5.parity=奇校验" << frame({{5, "080B02"}}) << none;
    QTest::newRow("even parity") << "5.parity=偶校验" << frame({{5, "081B02"}}) << none;
    QTest::newRow("mark parity") << "5.parity=1校验" << frame({{5, "082B02"}}) << none;
    QTest::newRow("space parity") << "5.parity=空校验" << frame({{5, "083B02"}}) << none;
    QTest::newRow("typed 230400") << "6.baud=230400" << frame({{6, "C00302"}}) << none;
    QTest::newRow("output forbidden") << "switch=1" << frame({}, "6000") << none;
    QTest::newRow("main port 1200") << "main=1200" << frame({}, "0101") << none;
    QTest::newRow("each port its own record")
        << "1.baud=1200 2.baud=2400 7.baud=38400 7.dataBits=7 7.stopBits=2 7.parity=偶校验 "
           "7.function=RS485全双工 "
           "8.baud=57600 main=76800"
        << frame({{1, "010302"}, {2, "020302"}, {7, "201E01"}, {8, "300302"}}, "4001") << none;

    QTest::newRow("baud empty")
        << "1.baud=" << fault(1, F::Baud)
        << "\"串口1\"的波特率为空或无效(须为1200的整数倍,最大306000),请从列表中选择后再设置!";
    QTest::newRow("baud the device would round") << "4.baud=12345" << fault(4, F::Baud) << none;
    QTest::newRow("nine data bits") << "5.dataBits=9" << fault(5, F::DataBits)
                                    << "\"串口5\"的数据位为空或无效,请从列表中选择后再设置!";
    QTest::newRow("1.5 stop bits") << "8.stopBits=1.5" << fault(8, F::StopBits)
                                   << "\"串口8\"的停止位为空或无效,请从列表中选择后再设置!";
    QTest::newRow("typed parity") << "3.parity=odd" << fault(3, F::Parity)
                                  << "\"串口3\"的校验位为空或无效,请从列表中选择后再设置!";
    QTest::newRow("unknown function")
        << "2.function=RS422" << fault(2, F::Function) << "\"串口2\"的功能为空或无效,请从列表中选择后再设置!";
    QTest::newRow("main baud 300")
        << "main=300" << fault(0, F::Baud)
        << "\"串口0\"的波特率为空或无效(须为1200的整数倍,最大306000),请从列表中选择后再设置!";
    QTest::newRow("no output switch") << "switch=-1" << fault(0, F::OutputSwitch)
                                      << "\"串口0接收输出\"未选择,请选择\"允许\"或\"禁止\"后再设置!";
    QTest::newRow("switch past its entries") << "switch=2" << fault(0, F::OutputSwitch) << none;
    // Several bad lists: the first in the panels' reading order is named.
    QTest::newRow("baud before parity") << "2.parity= 2.baud=" << fault(2, F::Baud) << none;
    QTest::newRow("data bits before stop bits") << "2.stopBits= 2.dataBits=" << fault(2, F::DataBits) << none;
    QTest::newRow("stop bits before parity") << "2.parity= 2.stopBits=" << fault(2, F::StopBits) << none;
    QTest::newRow("parity before function") << "2.function= 2.parity=" << fault(2, F::Parity) << none;
    QTest::newRow("port 2 before port 6") << "6.baud= 2.function=" << fault(2, F::Function) << none;
    QTest::newRow("port 8 before the main port")
        << "8.dataBits= main= switch=-1" << fault(8, F::DataBits) << none;
    QTest::newRow("main baud before the switch") << "main= switch=-1" << fault(0, F::Baud) << none;
}

void TestPortSetFrame::build() {
    QFETCH(QString, edits);
    QFETCH(QString, result);
    QFETCH(QString, message);
    const auto built = PortSetFrame::build(panels(edits));
    if (const PanelFault* f = built.faultIf()) {
        QCOMPARE(fault(f->port, f->field), result);
        if (!message.isEmpty())
            QCOMPARE(f->message(), message);
    } else {
        QCOMPARE(built.value(), result);
    }
}

QTEST_APPLESS_MAIN(TestPortSetFrame)
#include "tst_portsetframe.moc"
