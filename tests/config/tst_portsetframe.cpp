// SPDX-License-Identifier: MIT
// The port-set frame built from the port panels, and the notice naming the first list that keeps
// it from being built.
#include "config/PortSetFrame.h"

#include <QTest>

using namespace config;
using namespace Qt::StringLiterals;

namespace {
// Every port at 9600 8N1 RS232, main port 115200, output allowed, changed by edits such as
// "3.parity=偶校验 main=1200 switch=1" (an empty value empties the list).
PortPanels panels(const QString& edits) {
    PortPanels p;
    p.ports.fill({u"9600"_s, u"8"_s, u"1"_s, u"无"_s, u"RS232"_s});
    p.mainBaud = u"115200"_s;
    p.outputSwitchPosition = 0;
    const QStringList fields{u"baud"_s, u"dataBits"_s, u"stopBits"_s, u"parity"_s, u"function"_s};
    using T = ExtensionPortTexts;
    QString T::*const members[] = {&T::baud, &T::dataBits, &T::stopBits, &T::parity, &T::function};
    for (const QString& edit : edits.split(u' ', Qt::SkipEmptyParts)) {
        const QString key = edit.section(u'=', 0, 0);
        const QString value = edit.section(u'=', 1);
        if (key == u"main")
            p.mainBaud = value;
        else if (key == u"switch")
            p.outputSwitchPosition = value.toInt();
        else
            p.ports[key.section(u'.', 0, 0).toInt() - 1].*members[fields.indexOf(key.section(u'.', 1))] =
                value;
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
    void build_data() {
        QTest::addColumn<QString>("edits");
        QTest::addColumn<QString>("result"); // the frame, or the fault
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, const char* edits, const QString& result,
                            const char* message = "") {
            QTest::newRow(name) << QString::fromUtf8(edits) << result << QString::fromUtf8(message);
        };
        using F = PanelFault::Field;
        // What each list's texts encode to is the option tables' business; here, where the codes go.
        row("all 9600 8N1 RS232", "", frame({}));
        row("each port its own record",
            "1.baud=1200 2.baud=2400 7.baud=38400 7.dataBits=7 7.stopBits=2 7.parity=偶校验 "
            "7.function=RS485全双工 "
            "8.baud=57600 8.dataBits=5 main=76800",
            frame({{1, "010302"}, {2, "020302"}, {7, "201E01"}, {8, "300002"}}, "4001"));
        row("output forbidden", "switch=1", frame({}, "6000"));

        row("baud empty", "1.baud=", fault(1, F::Baud),
            "\"串口1\"的波特率为空或无效(须为1200的整数倍,最大306000),请从列表中选择后再设置!");
        row("nine data bits", "5.dataBits=9", fault(5, F::DataBits),
            "\"串口5\"的数据位为空或无效,请从列表中选择后再设置!");
        row("1.5 stop bits", "8.stopBits=1.5", fault(8, F::StopBits),
            "\"串口8\"的停止位为空或无效,请从列表中选择后再设置!");
        row("typed parity", "3.parity=odd", fault(3, F::Parity),
            "\"串口3\"的校验位为空或无效,请从列表中选择后再设置!");
        row("unknown function", "2.function=RS422", fault(2, F::Function),
            "\"串口2\"的功能为空或无效,请从列表中选择后再设置!");
        row("main baud 300", "main=300", fault(0, F::MainBaud),
            "\"串口0\"的波特率为空或无效(须为1200的整数倍,最大306000),请从列表中选择后再设置!");
        row("no output switch", "switch=-1", fault(0, F::Output),
            "\"串口0接收输出\"未选择,请选择\"允许\"或\"禁止\"后再设置!");
        // Several bad lists: the first in the panels' reading order is named.
        row("baud before parity", "2.parity= 2.baud=", fault(2, F::Baud));
        row("data bits before stop bits", "2.stopBits= 2.dataBits=", fault(2, F::DataBits));
        row("stop bits before parity", "2.parity= 2.stopBits=", fault(2, F::StopBits));
        row("parity before function", "2.function= 2.parity=", fault(2, F::Parity));
        row("port 2 before port 6", "6.baud= 2.function=", fault(2, F::Function));
        row("port 8 before the main port", "8.dataBits= main= switch=-1", fault(8, F::DataBits));
        row("main baud before the switch", "main= switch=-1", fault(0, F::MainBaud));
    }

    void build() {
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
};

QTEST_APPLESS_MAIN(TestPortSetFrame)
#include "tst_portsetframe.moc"
