// The whole program against the device simulator: the real window and serial port on one side,
// a separate expander-sim process on a pseudo-terminal on the other.
#include "FormHarness.h"
#include "SimProcess.h"
#include "Texts.h"
#include "config/ui/Dialog2.h"
#include "platform/QtSerialControl.h"
#include "platform/SystemPortList.h"

#include <QTemporaryDir>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

using testing::FormHarness;
using testing::SimProcess;
namespace texts = testing::texts;

namespace {

// The program as the operator runs it, except that message boxes are answered at once.
struct Program {
    QTemporaryDir runtime;
    std::unique_ptr<SimProcess> sim;
    platform::QtSerialControl serial;
    platform::SystemPortList ports;
    platform::FakeMessageBoxes messages;
    platform::FakeSingleInstance instance;
    std::unique_ptr<shell::Form1> form;

    explicit Program(const QStringList& simArguments = {}) {
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
        sim = std::make_unique<SimProcess>(QStringLiteral(SIM_PATH), simArguments, runtime.path());
        form = std::make_unique<shell::Form1>(shell::Services{serial, ports, messages, instance});
        form->Form_Load();
    }
    const shell::Form1View& v() const { return form->view(); }

    // The operator's way: 打开串口 asks for the settings, the simulator's port is the last in the
    // list and so chosen; OK; 打开串口 again; 连接设备.
    bool connect() {
        QString chosen;
        FormHarness::onNextModal([&chosen](QDialog* d) {
            chosen = d->findChild<QComboBox*>(QStringLiteral("Combo1"))->currentText();
            d->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
        });
        v().Command2->click();
        v().Command2->click();
        if (chosen != sim->registeredPath() || !serial.isOpen())
            return false;
        v().Command3->click();
        return waitForMessage(texts::Connected);
    }

    bool waitForMessage(const QString& text, int count = 1) {
        for (int i = 0; i < 100 && messages.texts().count(text) < count; ++i)
            testing::spin(30);
        return messages.texts().count(text) == count;
    }
};

// Reads what comes out of an extension port of the simulator.
QByteArray readPort(const QString& path, int atLeast) {
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return {};
    termios raw{};
    ::tcgetattr(fd, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(fd, TCSANOW, &raw);
    QByteArray data;
    for (int i = 0; i < 200 && data.size() < atLeast; ++i) {
        testing::spin(10);
        char buffer[256];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0)
            data.append(buffer, n);
    }
    ::close(fd);
    return data;
}

void fillPanels(const shell::Form1View& v) {
    const QStringList bauds = {QStringLiteral("1200"),   QStringLiteral("4800"),  QStringLiteral("19200"),
                               QStringLiteral("38400"),  QStringLiteral("57600"), QStringLiteral("76800"),
                               QStringLiteral("115200"), QStringLiteral("14400")};
    for (int i = 0; i < 8; ++i) {
        v.Combo2[i]->setCurrentText(bauds[i]);
        v.Combo3[i]->setCurrentIndex(i % 4);
        v.Combo4[i]->setCurrentIndex(i % 2);
        v.Combo5[i]->setCurrentIndex(i % 5);
        v.Combo7[i]->setCurrentIndex(i % 3);
    }
    v.Combo6->setCurrentText(QStringLiteral("57600"));
    v.Combo8->setCurrentIndex(1);
}

QStringList panelTexts(const shell::Form1View& v) {
    QStringList texts;
    for (int i = 0; i < 8; ++i)
        for (QComboBox* c : {v.Combo2[i], v.Combo3[i], v.Combo4[i], v.Combo5[i], v.Combo7[i]})
            texts.append(c->currentText());
    texts << v.Combo6->currentText() << v.Combo8->currentText();
    return texts;
}

void clearPanels(const shell::Form1View& v) {
    for (int i = 0; i < 8; ++i)
        for (QComboBox* c : {v.Combo2[i], v.Combo3[i], v.Combo4[i], v.Combo5[i], v.Combo7[i]})
            c->setCurrentIndex(-1);
    v.Combo6->setCurrentIndex(-1);
    v.Combo8->setCurrentIndex(-1);
}

} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void connects();
    void setThenSyncReturnsWhatWasSet();
    void restoreThenSyncReturnsDefaults();
    void networkWriteThenRead();
    void consoleFrameComesOutOfPortFive();
    void quietTimeJoinsOrSplitsReplies_data();
    void quietTimeJoinsOrSplitsReplies();
    void hangUpEndsInClosedState();
};

void TestEndToEnd::connects() {
    Program p;
    QVERIFY(p.sim->started());
    QVERIFY(p.connect());
    QCOMPARE(p.v().Text1->toPlainText(), QStringLiteral("4002E123"));
    QVERIFY(p.v().Command4->isEnabled() && p.v().Command6->isEnabled() && p.v().Command1->isEnabled());
    QVERIFY(p.v().netset->isEnabled());
    QVERIFY(p.sim->log().contains(QStringLiteral("rx 4002F123")));
}

void TestEndToEnd::setThenSyncReturnsWhatWasSet() {
    Program p;
    QVERIFY(p.connect());
    fillPanels(p.v());
    const QStringList set = panelTexts(p.v());
    p.v().Command4->click();
    QVERIFY(p.waitForMessage(texts::SetDone));
    clearPanels(p.v());
    p.v().Command6->click();
    QVERIFY(p.waitForMessage(texts::Synced));
    QCOMPARE(panelTexts(p.v()), set);
}

void TestEndToEnd::restoreThenSyncReturnsDefaults() {
    Program p;
    QVERIFY(p.connect());
    fillPanels(p.v());
    p.v().Command4->click();
    QVERIFY(p.waitForMessage(texts::SetDone));
    p.v().Easer->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(p.v().Text1->toPlainText().contains(QStringLiteral("还原设置成功")), 3000);
    p.v().Command6->click();
    QVERIFY(p.waitForMessage(texts::Synced));
    QStringList defaults;
    for (int i = 0; i < 8; ++i)
        defaults << QStringLiteral("9600") << QStringLiteral("8") << QStringLiteral("1")
                 << QStringLiteral("无") << QStringLiteral("RS232");
    defaults << QStringLiteral("9600") << QStringLiteral("允许");
    QCOMPARE(panelTexts(p.v()), defaults);
}

void TestEndToEnd::networkWriteThenRead() {
    Program p;
    QVERIFY(p.connect());
    config::Dialog2& dialog = p.form->ensureNetworkDialog();
    dialog.show();
    const QStringList written =
        QStringLiteral("2 4 6 8 10 12 10 0 0 7 255 255 0 0 10 0 0 1").split(QLatin1Char(' '));
    for (int i = 0; i < 18; ++i)
        dialog.setOctetText(i, written[i]);
    dialog.OKButton->click();
    QVERIFY(p.waitForMessage(texts::NetSet));
    QVERIFY(!dialog.isVisible()); // the confirmation hides the dialog
    dialog.show();
    dialog.Command2->click(); // all boxes 0
    dialog.Command1->click(); // read them back
    QTRY_COMPARE_WITH_TIMEOUT(dialog.octetTexts()[17], QStringLiteral("1"), 3000);
    const config::OctetTexts read = dialog.octetTexts();
    QCOMPARE(QStringList(read.begin(), read.end()), written);
}

void TestEndToEnd::consoleFrameComesOutOfPortFive() {
    Program p;
    QVERIFY(p.connect());
    p.v().Combo1->setCurrentIndex(4);
    p.v().Text1->setPlainText(QStringLiteral("01 02 03 40 23"));
    p.v().Command1->click();
    QCOMPARE(p.v().Text3->toPlainText(), QStringLiteral("4008DD05010203402323"));
    QCOMPARE(readPort(p.sim->extensionPort(5), 5), QByteArray::fromHex("0102034023"));
}

void TestEndToEnd::quietTimeJoinsOrSplitsReplies_data() {
    QTest::addColumn<int>("gapMs");
    QTest::addColumn<bool>("oneReply");
    QTest::newRow("20 ms apart: one reply") << 20 << true;
    QTest::newRow("60 ms apart: two replies") << 60 << false;
}

void TestEndToEnd::quietTimeJoinsOrSplitsReplies() {
    QFETCH(int, gapMs);
    QFETCH(bool, oneReply);
    Program p({QStringLiteral("--split-gap"), QString::number(gapMs)});
    QVERIFY(p.sim->started());
    if (oneReply) {
        QVERIFY(p.connect());
        QCOMPARE(p.v().Text1->toPlainText(), QStringLiteral("4002E123"));
        return;
    }
    QVERIFY(!p.connect()); // neither half is a reply
    QTRY_COMPARE_WITH_TIMEOUT(p.v().Text1->toPlainText(), QStringLiteral("E123"), 3000);
    QVERIFY(p.messages.shown.size() == 1); // only the request for settings
}

void TestEndToEnd::hangUpEndsInClosedState() {
    Program p({QStringLiteral("--hangup-after"), QStringLiteral("1")});
    QVERIFY(p.connect());
    QVERIFY(p.waitForMessage(texts::Lost));
    QTRY_VERIFY_WITH_TIMEOUT(!p.sim->isRunning(), 3000);
    testing::spin(200);
    QCOMPARE(p.messages.texts().count(texts::Lost), 1);
    QVERIFY(!p.serial.isOpen());
    QCOMPARE(p.v().Command2->text(), QStringLiteral("打开串口"));
    QVERIFY(!p.v().Command3->isEnabled() && !p.v().Command4->isEnabled());
}

QTEST_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
