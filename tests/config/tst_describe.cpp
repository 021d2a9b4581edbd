// SPDX-License-Identifier: MIT
// What a frame on the line means, in both languages: every request and reply, the codes no list
// shows, and each way bytes can fail to be a frame.
#include "config/Describe.h"

#include <QTest>

using namespace config;
using namespace Qt::StringLiterals;

class TestDescribe : public QObject {
    Q_OBJECT
private Q_SLOTS:
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

QTEST_GUILESS_MAIN(TestDescribe)
#include "tst_describe.moc"
