// The window's frames on a real line, with the test playing the device on a pseudo-terminal.
#include "FormHarness.h"
#include "PtyForm.h"
#include "config/ui/Dialog2.h"
#include "platform/QtSerialControl.h"
#include "platform/fake/PtyPair.h"

using platform::PtyPair;
using testing::FormHarness;

class TestRoundTrip : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void connectRequestAndReply();
    void syncedPanelsAreSetBackUnchanged();
    void readNetworkParametersAreWrittenBackUnchanged();
};

void TestRoundTrip::connectRequestAndReply() {
    testing::PtyForm line;
    QVERIFY(line.serial.isOpen());
    line.v().Command3->click();
    QCOMPARE(line.pty.read(4), QByteArray::fromHex("4002F123"));
    line.reply(QByteArray::fromHex("4002E123"));
    QCOMPARE(line.messages.texts().count(QStringLiteral("连接成功!")), 1);
    QVERIFY(line.v().Command1->isEnabled() && line.v().Command4->isEnabled() &&
            line.v().Command6->isEnabled());
    QVERIFY(line.v().netset->isEnabled());
}

void TestRoundTrip::syncedPanelsAreSetBackUnchanged() {
    testing::PtyForm line;
    line.reply(QByteArray::fromHex("4002E123"));
    line.v().Command6->click();
    QCOMPARE(line.pty.read(4), QByteArray::fromHex("4002FB23"));
    // Every list position of every table somewhere on the line.
    const QByteArray payload = QByteArray::fromHex("010003"
                                                   "020C01"
                                                   "041D02"
                                                   "082E03"
                                                   "103F01"
                                                   "202B02"
                                                   "301A03"
                                                   "400901"
                                                   "6001");
    QCOMPARE(payload.size(), 26);
    line.reply(QByteArray::fromHex("401CFB") + payload + QByteArray::fromHex("23"));
    QCOMPARE(line.messages.texts().count(QStringLiteral("扩展串口数据同步成功!")), 1);
    line.v().Command4->click();
    QVERIFY2(line.messages.shown.size() == 3, qPrintable(line.messages.texts().join(QLatin1Char('|'))));
    QCOMPARE(line.pty.read(30), QByteArray::fromHex("401CCD") + payload + QByteArray::fromHex("23"));
}

void TestRoundTrip::readNetworkParametersAreWrittenBackUnchanged() {
    testing::PtyForm line;
    line.reply(QByteArray::fromHex("4002E123"));
    const QByteArray octets = QByteArray::fromHex("0008DC010203C0A80164FFFFFF00C0A80101");
    line.reply(QByteArray::fromHex("4014CA") + octets + QByteArray::fromHex("23"));
    config::Dialog2& dialog = *line.form->networkDialog();
    dialog.show();
    dialog.OKButton->click();
    QCOMPARE(line.pty.read(22), QByteArray::fromHex("4014CE") + octets + QByteArray::fromHex("23"));
}

QTEST_MAIN(TestRoundTrip)
#include "tst_roundtrip.moc"
