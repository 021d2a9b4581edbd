// SPDX-License-Identifier: MIT
// What goes on the line: the option lists' wire codes in both directions (and the codes and texts
// that select or carry nothing, and the line byte); the port-set frame built from the panels and the
// notice naming the first list that keeps it from being built; the network frame built from the
// eighteen octet boxes and the boxes' own rules; and what a frame means, in both languages.
#include "config/Describe.h"
#include "config/NetworkFrame.h"
#include "config/PortSetFrame.h"
#include "config/Tables.h"

#include <QTest>

using namespace config;
using namespace Qt::StringLiterals;

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

Q_DECLARE_METATYPE(List)

class TestFrames : public QObject {
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

    void portSetFrame_data() {
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

    void portSetFrame() {
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

    void networkFrame_data() {
        // Eighteen boxes of "0" with some replaced, e.g. "5=64 6=35"; "all=x" sets every box.
        QTest::addColumn<QString>("edits");
        QTest::addColumn<QString>("result"); // the frame, or the first bad box and why
        const auto row = [](const char* edits, const QString& result) {
            QTest::newRow(*edits ? edits : "all zeros") << edits << result;
        };
        row("0=0 1=8 2=220 3=1 4=2 5=3 6=192 7=168 8=1 9=100 10=255 11=255 12=255 13=0 14=192 15=168 16=1 "
            "17=1",
            u"4014CE0008DC010203C0A80164FFFFFF00C0A8010123"_s);
        row("", u"4014CE"_s + QString(36, u'0') + u"23"_s);
        row("all=255", u"4014CE"_s + QString(36, u'F') + u"23"_s);
        row("0=0255 17=00017", u"4014CEFF"_s + QString(32, u'0') + u"1123"_s);
        row("5=64 6=35", u"4014CE00000000004023"_s + QString(22, u'0') + u"23"_s); // travel unescaped
        row("all=", u"box 0 empty"_s);
        row("7=1.5", u"box 7 out of range"_s);
        row("5=. 2=", u"box 2 empty"_s); // the first bad box is named
    }

    void networkFrame() {
        QFETCH(QString, edits);
        QFETCH(QString, result);
        OctetTexts boxes;
        boxes.fill(u"0"_s);
        for (const QString& edit : edits.split(u' ', Qt::SkipEmptyParts)) {
            const QString key = edit.section(u'=', 0, 0);
            if (key == u"all")
                boxes.fill(edit.section(u'=', 1));
            else
                boxes[key.toInt()] = edit.section(u'=', 1);
        }
        const auto built = NetworkFrame::build(boxes);
        if (const BoxFault* fault = built.faultIf())
            QCOMPARE(u"box %1 %2"_s.arg(fault->index)
                         .arg(fault->fault == protocol::PadFault::Empty ? u"empty"_s : u"out of range"_s),
                     result);
        else
            QCOMPARE(built.value(), result);
    }

    void boxRules_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept"); // what the box keeps of it
        QTest::addColumn<bool>("exceeds"); // reset to 0
        const auto row = [](const QString& text, const QString& kept, bool exceeds) {
            QTest::addRow("'%ls'", qUtf16Printable(text)) << text << kept << exceeds;
        };
        for (const char* kept : {"255", "0255", "12.5", "1.2.3", "255.0", ".5", ""})
            row(QString::fromLatin1(kept), QString::fromLatin1(kept), false);
        for (const char* exceeds :
             {"0123456789", "256", "00000256", "255.05", "256.0", "99999999999999999999999"})
            row(QString::fromLatin1(exceeds), QString::fromLatin1(exceeds), true);
        row(u" 1-2+a\t5\r\n"_s, u"125"_s, false); // letters, signs, controls
        row(u"１２\u0661"_s, u""_s, false);       // full-width and Arabic-Indic digits
        row(u"1\u30025"_s, u"15"_s, false);       // ideographic full stop
    }

    void boxRules() {
        QFETCH(QString, text);
        QFETCH(QString, kept);
        QFETCH(bool, exceeds);
        QCOMPARE(NetworkFrame::filterBoxText(text), kept);
        QCOMPARE(NetworkFrame::exceedsOctet(text), exceeds);
    }

    void describes_data() {
        QTest::addColumn<bool>("sent");
        QTest::addColumn<QByteArray>("hex");
        QTest::addColumn<QString>("chinese");
        QTest::addColumn<QString>("english");

        // Port 1 at 115200 8N1 RS232, port 2 at 9600 7E2 RS485 full duplex, port 3 at 1200 5M1 RS485
        // half duplex, port 4 with codes no list shows, the rest 4800 6S2 RS232; main 9600, output forbidden.
        const QByteArray ports = "600302081E0101280305C106" + QByteArray("043D02").repeated(4) + "0800";
        const QString portsZh =
            u"串口1 115200,N,8,1 RS232 串口2 9600,E,7,2 RS485全双工 串口3 1200,M,5,1 RS485半双工 "
            u"串口4 ?05 线路?C1 功能?06 串口5 4800,S,6,2 RS232 串口6 4800,S,6,2 RS232 "
            u"串口7 4800,S,6,2 RS232 串口8 4800,S,6,2 RS232 串口0 9600 接收输出 禁止"_s;
        const QString portsEn = u"1=115200,N,8,1 RS232 2=9600,E,7,2 RS485-full 3=1200,M,5,1 RS485-half "
                                u"4=?05 line?C1 function?06 5=4800,S,6,2 RS232 6=4800,S,6,2 RS232 "
                                u"7=4800,S,6,2 RS232 8=4800,S,6,2 RS232 main=9600 output=forbidden"_s;
        const QByteArray network = "0008DC010203C0A80164FFFFFF00C0A80101";
        const QString networkZh =
            u"MAC 00:08:DC:01:02:03 IP 192.168.1.100 掩码 255.255.255.0 网关 192.168.1.1"_s;
        const QString networkEn =
            u"mac=00:08:DC:01:02:03 ip=192.168.1.100 mask=255.255.255.0 gateway=192.168.1.1"_s;

        const auto row = [](const char* name, bool sent, const QByteArray& hex, const QString& chinese,
                            const QString& english) {
            QTest::newRow(name) << sent << hex << chinese << english;
        };
        row("connect", true, "4002F123", u"连接设备"_s, u"connect"_s);
        row("read ports", true, "4002FB23", u"同步串口参数"_s, u"read ports"_s);
        row("restore", true, "4003EDEE23", u"还原设置"_s, u"restore defaults"_s);
        row("write ports", true, "401CCD" + ports + "23", u"设置串口参数: "_s + portsZh,
            u"write ports: "_s + portsEn);
        row("write network", true, "4014CE" + network + "23", u"设置网络参数: "_s + networkZh,
            u"write network: "_s + networkEn);
        row("forward", true, "4006DD03AABBCC23", u"转发到串口3: 3 字节"_s, u"forward to port 3: 3 bytes"_s);
        row("unknown command", true, "4002AA23", u"未知命令 AA"_s, u"unknown command AA"_s);
        row("connected", false, "4002E123", u"连接成功"_s, u"connected"_s);
        row("port set done", false, "4002E223", u"设置串口参数成功"_s, u"port set done"_s);
        row("network set done", false, "4002E523", u"网络参数设置成功"_s, u"network set done"_s);
        row("port configuration", false, "401CFB" + ports + "23", u"同步: "_s + portsZh,
            u"port configuration: "_s + portsEn);
        row("network parameters", false, "4014CA" + network + "23", u"网络参数: "_s + networkZh,
            u"network parameters: "_s + networkEn);
        row("unknown reply", false, "4002E323", u"未知应答 E3"_s, u"unknown reply E3"_s);
        row("data reply of the wrong size", false, "4003FB0023", u"无效帧: FB 帧为 5 字节, 应为 30"_s,
            u"malformed: FB frame of 5 bytes, expected 30"_s);
        row("wrong end byte", false, "4002E124", u"无效帧: 结束字节为 24"_s, u"malformed: end byte 24"_s);
        row("no start byte", false, "0140", u"无效帧: 起始字节为 01"_s, u"malformed: start byte 01"_s);
        row("stops short", false, "401CFB0803", u"无效帧: 不完整, 收到 5 字节, 应为 30"_s,
            u"malformed: incomplete, 5 of 30 bytes"_s);
        row("length byte too small", false, "400123", u"无效帧: 长度字节为 01"_s,
            u"malformed: length byte 01"_s);
        row("bytes after the frame", false, "4002E1230707", u"无效帧: 帧后多出 2 字节"_s,
            u"malformed: 2 bytes after the end byte"_s);
    }

    void describes() {
        QFETCH(bool, sent);
        QFETCH(QByteArray, hex);
        QFETCH(QString, chinese);
        QFETCH(QString, english);
        const QByteArray bytes = QByteArray::fromHex(hex);
        const auto describe = sent ? describe::request : describe::reply;
        QCOMPARE(describe(bytes, Language::Chinese), chinese);
        QCOMPARE(describe(bytes, Language::English), english);
    }
};

QTEST_GUILESS_MAIN(TestFrames)
#include "tst_frames.moc"
