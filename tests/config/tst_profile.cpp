// SPDX-License-Identifier: MIT
// The profile file: what it accepts and refuses (with the message naming file, field and value),
// its exact layout, the conversions to the panels and to the codes, and the field-by-field diff.
#include "config/ProfileDiff.h"
#include "config/ProfileFile.h"
#include "protocol/HexText.h"

#include <QTemporaryDir>
#include <QTest>

using namespace config;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(config::Profile)

namespace {

// The file toJson() writes for sample(), byte for byte.
const QByteArray kSample = R"({
    "format": "expander-profile",
    "version": 1,
    "ports": [
        {"port": 1, "function": "RS232", "baud": 9600, "dataBits": 8, "stopBits": 1, "parity": "无"},
        {"port": 2, "function": "RS485半双工", "baud": 115200, "dataBits": 7, "stopBits": 2, "parity": "偶校验"},
        {"port": 3, "function": "RS485全双工", "baud": 1200, "dataBits": 5, "stopBits": 1, "parity": "1校验"},
        {"port": 4, "function": "RS232", "baud": 3600, "dataBits": 8, "stopBits": 1, "parity": "奇校验"},
        {"port": 5, "function": "RS232", "baud": 38400, "dataBits": 6, "stopBits": 2, "parity": "空校验"},
        {"port": 6, "function": "RS232", "baud": 38400, "dataBits": 6, "stopBits": 2, "parity": "空校验"},
        {"port": 7, "function": "RS232", "baud": 38400, "dataBits": 6, "stopBits": 2, "parity": "空校验"},
        {"port": 8, "function": "RS232", "baud": 38400, "dataBits": 6, "stopBits": 2, "parity": "空校验"}
    ],
    "mainPort": {"baud": 57600, "output": "禁止"},
    "network": {"mac": "00:08:DC:01:02:0A", "ip": "192.168.1.100", "mask": "255.255.255.0", "gateway": "192.168.1.1"}
}
)";
// Its codes: the port-set frame's payload (port 1 to 8, then the main port's baud and output).
const QByteArray kSampleCodes = "080302601E03012801030B02203D02203D02203D02203D023000";
const QString kNetworkLine =
    u",\n    \"network\": {\"mac\": \"00:08:DC:01:02:0A\", \"ip\": \"192.168.1.100\", "
    u"\"mask\": \"255.255.255.0\", \"gateway\": \"192.168.1.1\"}"_s;

// The sample as read; its values are pinned by its codes (converts) and by the diff's texts.
Profile sample(bool network = true) {
    Profile p = ProfileFile::parse(kSample, u"profile.json"_s).value();
    if (!network)
        p.network.reset();
    return p;
}

protocol::PortConfiguration sampleCodes() {
    return *PortSetFrame::decode(QByteArray::fromHex("401CCD" + kSampleCodes + "23"));
}

QString parseMessage(const QByteArray& json) {
    const auto result = ProfileFile::parse(json, u"profile.json"_s);
    return result ? QString() : result.fault().message();
}

} // namespace

class TestProfile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parse_data() {
        QTest::addColumn<QString>("from"); // the sample with this text replaced
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("message"); // empty: accepted as sample(network)
        QTest::addColumn<bool>("network");

        const auto refused = [](const char* row, const QString& from, const QString& to,
                                const QString& message) {
            QTest::newRow(row) << from << to << u"profile.json: "_s + message << true;
        };
        QTest::newRow("the sample") << QString() << QString() << QString() << true;
        QTest::newRow("English names in any case")
            << u"\"RS485半双工\", \"baud\": 115200, \"dataBits\": 7, \"stopBits\": 2, \"parity\": \"偶校验\""_s
            << u"\"rs485-HALF\", \"baud\": 115200, \"dataBits\": 7, \"stopBits\": 2, \"parity\": \"Even\""_s
            << QString() << true;
        QTest::newRow("without network") << kNetworkLine << QString() << QString() << false;
        refused("not JSON", u"\"version\": 1,"_s, u"\"version\": 1"_s,
                u"not valid JSON at line 4, column 6: unterminated object"_s);
        refused("another format", u"\"expander-profile\""_s, u"\"expander-profil\""_s,
                u"format: \"expander-profil\" is not \"expander-profile\""_s);
        refused("no format", u"\"format\": \"expander-profile\","_s, QString(),
                u"missing field \"format\" (is it an expander profile?)"_s);
        refused("a later version", u"\"version\": 1"_s, u"\"version\": 2"_s,
                u"version: 2 is not supported; this program reads version 1"_s);
        refused("an unknown field", u"\"version\": 1,"_s, u"\"version\": 1, \"colour\": 1,"_s,
                u"unknown field \"colour\" (expected format, version, ports, mainPort, network)"_s);
        refused("no main port", u"\"mainPort\": {\"baud\": 57600, \"output\": \"禁止\"},"_s, QString(),
                u"missing field \"mainPort\""_s);
        refused(
            "parity", u"\"奇校验\""_s, u"\"偶\""_s,
            u"ports[3].parity: \"偶\" is not one of 无, 奇校验, 偶校验, 1校验, 空校验, none, odd, even, mark, space"_s);
        refused("baud not a multiple of 1200", u"\"baud\": 3600"_s, u"\"baud\": 3601"_s,
                u"ports[3].baud: 3601 is not a whole multiple of 1200 from 1200 to 306000"_s);
        refused("baud as text", u"\"baud\": 3600"_s, u"\"baud\": \"3600\""_s,
                u"ports[3].baud: expected a number, found \"3600\""_s);
        refused("data bits", u"\"baud\": 3600, \"dataBits\": 8"_s, u"\"baud\": 3600, \"dataBits\": 9"_s,
                u"ports[3].dataBits: 9 is not one of 5, 6, 7, 8"_s);
        refused("port number", u"\"port\": 4"_s, u"\"port\": 9"_s,
                u"ports[3].port: 9 is not a port number from 1 to 8"_s);
        refused("a port twice", u"\"port\": 4"_s, u"\"port\": 3"_s, u"ports[3].port: port 3 appears twice"_s);
        refused("a port missing",
                u",\n        {\"port\": 8, \"function\": \"RS232\", \"baud\": 38400, \"dataBits\": 6, "
                u"\"stopBits\": 2, "
                u"\"parity\": \"空校验\"}"_s,
                QString(), u"ports: port 8 is missing"_s);
        refused(
            "a misspelt port field", u"\"parity\": \"无\""_s, u"\"partiy\": \"无\""_s,
            u"ports[0]: unknown field \"partiy\" (expected port, function, baud, dataBits, stopBits, parity)"_s);
        refused("output", u"\"禁止\""_s, u"\"off\""_s,
                u"mainPort.output: \"off\" is not one of 允许, 禁止, allowed, forbidden"_s);
        refused("MAC address", u"\"00:08:DC:01:02:0A\""_s, u"\"00:08:DC:01:02\""_s,
                u"network.mac: \"00:08:DC:01:02\" is not a MAC address such as 00:08:DC:01:02:03"_s);
        refused("IP address", u"\"192.168.1.100\""_s, u"\"192.168.1.300\""_s,
                u"network.ip: \"192.168.1.300\" is not an address such as 192.168.1.100"_s);
        refused("a leading zero", u"\"192.168.1.100\""_s, u"\"192.168.01.100\""_s,
                u"network.ip: \"192.168.01.100\" is not an address such as 192.168.1.100"_s);
        refused("multicast MAC", u"\"00:08:DC:01:02:0A\""_s, u"\"01:08:DC:01:02:0A\""_s,
                u"network.mac: 01:08:DC:01:02:0A is a multicast address (its first octet is odd)"_s);
        refused("IP 0.0.0.0", u"\"192.168.1.100\""_s, u"\"0.0.0.0\""_s,
                u"network.ip: 0.0.0.0 is no address"_s);
        refused("the broadcast address", u"\"192.168.1.100\""_s, u"\"192.168.1.255\""_s,
                u"network.ip: 192.168.1.255 is the broadcast address of 192.168.1.0/24"_s);
        refused("the network's own address", u"\"192.168.1.100\""_s, u"\"192.168.1.0\""_s,
                u"network.ip: 192.168.1.0 is the address of the network 192.168.1.0/24 itself"_s);
        refused("a /31 mask", u"\"255.255.255.0\""_s, u"\"255.255.255.254\""_s,
                u"network.mask: 255.255.255.254 leaves no room for a unit beside the network and broadcast "
                u"addresses"_s);
        refused("a key twice", u"\"parity\": \"无\""_s, u"\"parity\": \"无\", \"parity\": \"无\""_s,
                u"ports[0].parity: appears twice"_s);
    }

    void parse() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, message);
        QFETCH(bool, network);
        QString json = QString::fromUtf8(kSample);
        if (!from.isEmpty()) {
            QVERIFY2(json.count(from) == 1, "the text to replace must be in the sample once");
            json.replace(from, to);
        }
        const auto result = ProfileFile::parse(json.toUtf8(), u"profile.json"_s);
        QCOMPARE(parseMessage(json.toUtf8()), message);
        if (message.isEmpty())
            QCOMPARE(result.value(), sample(network));
    }

    void writesTheLayoutAndReadsItBack() {
        QCOMPARE(QString::fromUtf8(ProfileFile::toJson(sample())), QString::fromUtf8(kSample));
        QCOMPARE(QString::fromUtf8(ProfileFile::toJson(sample(false))),
                 QString::fromUtf8(kSample).remove(kNetworkLine));

        QTemporaryDir dir;
        const QString path = dir.filePath(u"unit.json"_s);
        QVERIFY(ProfileFile::write(path, sample()).ok());
        const auto read = ProfileFile::read(path);
        QVERIFY(read.ok());
        QCOMPARE(read.value(), sample());
        QFile big(dir.filePath(u"big.json"_s)); // as large as a profile may be, then a byte more
        QVERIFY(big.open(QIODevice::WriteOnly) && big.write(QByteArray(ProfileFile::MaxFileSize, ' ')) > 0);
        big.flush();
        QVERIFY(ProfileFile::read(big.fileName()).fault().message().contains(u": not valid JSON"_s));
        QVERIFY(big.write(" ") == 1);
        big.close();
        QCOMPARE(ProfileFile::read(big.fileName()).fault().problem.text(Language::English),
                 u"is larger than 1048576 bytes; a profile is a few kilobytes"_s);
        // A text no list holds is written as a JSON string all the same.
        Profile odd = sample();
        odd.ports[0].parity = u"\"\\\u0001"_s;
        QVERIFY(QString::fromUtf8(ProfileFile::toJson(odd)).contains(u"\"parity\": \"\\\"\\\\\\u0001\""_s));
        const QString missing = dir.filePath(u"missing.json"_s);
        QVERIFY(ProfileFile::read(missing).fault().message().startsWith(missing + u": cannot be read: "_s));
    }

    void converts() {
        // Profile -> codes -> the same bytes the panels give, and back.
        QCOMPARE(sample().toConfiguration().value(), sampleCodes());
        QCOMPARE(PortSetFrame::build(sample().toPanels()).value(),
                 QString::fromLatin1("401CCD" + kSampleCodes + "23"));
        QCOMPARE(Profile::fromConfiguration(sampleCodes(), sample().network), sample());
        QVERIFY(!PortSetFrame::decode(QByteArray::fromHex("401DCD" + kSampleCodes + "23"))); // length byte
        QCOMPARE(Profile::fromPanels(sample().toPanels()).value(), sample(false));
        QCOMPARE(sample().toPanels().outputSwitchPosition, 1);

        // A list without a code refuses, naming the port and the list.
        PortPanels typed = sample().toPanels();
        typed.ports[6].parity = u"偶"_s;
        QCOMPARE(Profile::fromPanels(typed).fault(), (PanelFault{7, PanelFault::Field::Parity}));

        // Codes no list shows stay visible and are never written back.
        protocol::PortConfiguration odd = sampleCodes();
        odd.ports[1] = {0x05, 0x13, 0x07}; // parity code 2
        odd.outputSwitch = 0x05;
        const Profile held = Profile::fromConfiguration(odd);
        QCOMPARE(held.ports[1], (PortProfile{u"?07"_s, u"6000"_s, u"8"_s, u"1"_s, u"?02"_s}));
        QCOMPARE(held.output, u"?05"_s);
        QCOMPARE(held.toConfiguration().fault(), (PanelFault{2, PanelFault::Field::Parity}));
    }

    void diff_data() {
        QTest::addColumn<Profile>("expected");
        QTest::addColumn<Profile>("actual");
        QTest::addColumn<QStringList>("differences");

        QTest::newRow("same") << sample() << sample() << QStringList();
        Profile actual = sample();
        actual.ports[3].parity = u"偶校验"_s;
        actual.ports[7].baud = u"9600"_s;
        actual.output = u"允许"_s;
        actual.network->octets[9] = 101;
        actual.ports[0].function = u"RS485全双工"_s;
        actual.ports[0].dataBits = u"7"_s;
        actual.ports[0].stopBits = u"2"_s;
        actual.mainBaud = u"9600"_s;
        QTest::newRow("one of each") << sample() << actual
                                     << QStringList{
                                            u"ports[0].function 串口1 功能: RS232 / RS485全双工"_s,
                                            u"ports[0].dataBits 串口1 数据位: 8 / 7"_s,
                                            u"ports[0].stopBits 串口1 停止位: 1 / 2"_s,
                                            u"ports[3].parity 串口4 校验位: 奇校验 / 偶校验"_s,
                                            u"ports[7].baud 串口8 波特率: 38400 / 9600"_s,
                                            u"mainPort.baud 串口0 波特率: 57600 / 9600"_s,
                                            u"mainPort.output 串口0接收输出: 禁止 / 允许"_s,
                                            u"network.ip 网络参数 IP地址: 192.168.1.100 / 192.168.1.101"_s};
        QTest::newRow("network not read")
            << sample() << sample(false)
            << QStringList{u"network.mac 网络参数 MAC地址: 00:08:DC:01:02:0A / "_s,
                           u"network.ip 网络参数 IP地址: 192.168.1.100 / "_s,
                           u"network.mask 网络参数 子网掩码: 255.255.255.0 / "_s,
                           u"network.gateway 网络参数 默认网关: 192.168.1.1 / "_s};
        QTest::newRow("network not expected") << sample(false) << sample() << QStringList();
    }

    void diff() {
        QFETCH(Profile, expected);
        QFETCH(Profile, actual);
        QFETCH(QStringList, differences);
        QStringList got;
        for (const ProfileDifference& d : ProfileDiff::compare(expected, actual))
            got.append(u"%1 %2: %3 / %4"_s.arg(d.path(), d.listName(), d.expected, d.actual));
        QCOMPARE(got, differences);
    }
};

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
