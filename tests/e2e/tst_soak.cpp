// A soak of the whole program against a simulator whose every reply gets a random fault: delayed,
// split, doubled, dropped, corrupted or preceded by garbage. Every well-formed reply is acted on,
// no malformed one changes a control, every frame the program writes is well formed, and at the
// end the program and the device agree. SOAK_SEED, SOAK_REQUESTS and SOAK_SECONDS (defaults:
// random, 300, 50) set the run; longer runs also need QTEST_FUNCTION_TIMEOUT raised.
#include "CountingSerial.h"
#include "FormHarness.h"
#include "SimProcess.h"
#include "config/ui/Dialog2.h"
#include "platform/SystemPortList.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

using testing::find;

namespace {
struct Soak {
    QTemporaryDir runtime;
    std::unique_ptr<testing::SimProcess> sim;
    testing::CountingSerial serial;
    platform::SystemPortList ports;
    platform::FakeMessageBoxes messages;
    platform::FakeSingleInstance instance;
    std::unique_ptr<shell::Form1> form;
    config::Dialog2* dialog = nullptr;
    qsizetype scanned = 0; // how far the simulator's log has been read
    qsizetype sent = 0;    // bytes the simulator has written to the program

    explicit Soak(quint32 seed) {
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
        sim = std::make_unique<testing::SimProcess>(QStringLiteral(SIM_PATH),
                                                    QStringList{u"--random-faults"_s, QString::number(seed)},
                                                    runtime.path());
        form = std::make_unique<shell::Form1>(shell::Services{serial, ports, messages, instance});
        form->Form_Load();
        testing::pressInNextModal("Command2");
        click("Command2");
        click("Command2");
    }
    void click(const char* name) { find<QPushButton>(form.get(), name)->click(); }
    QList<QComboBox*> lists() const { return form->centralWidget()->findChildren<QComboBox*>(); }
    // What the operator sees of the device: the 42 panel lists, then the 18 octet boxes.
    QStringList snapshot() const {
        QStringList seen;
        for (QComboBox* c : lists())
            if (c->objectName() != u"Combo1")
                seen << c->currentText();
        for (const QString& box : dialog->octetTexts())
            seen << box;
        return seen;
    }
    // Waits for the simulator's next reply and until the program has read all of it; then whether
    // the program must act on it (not when dropped, corrupted, garbled or split wide), or -1.
    int nextReply() {
        static const QRegularExpression tx(u"^\\S+ tx (\\S+).*?(?: fault=(\\S+))?$"_s);
        QRegularExpressionMatch m;
        for (int i = 0; i < 1000 && !m.hasMatch(); ++i) {
            const QString log = sim->log();
            for (qsizetype end; !m.hasMatch() && (end = log.indexOf(u'\n', scanned)) >= 0; scanned = end + 1)
                m = tx.match(log.mid(scanned, end - scanned));
            if (!m.hasMatch())
                testing::spin(2);
        }
        const QString tag = m.captured(2);
        sent += tag == u"drop" ? 0 : m.captured(1).size() / 2; // a dropped reply's bytes never left
        for (int i = 0; i < 1500 && serial.taken < sent; ++i)
            testing::spin(2);
        if (!m.hasMatch() || serial.taken != sent)
            return -1;
        return tag.isEmpty() || tag.startsWith(u"delay") || tag == u"double" ? 1 : 0;
    }
};
} // namespace

class TestSoak : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void randomFaults();
};

void TestSoak::randomFaults() {
    const auto env = [](const char* name, int fallback) {
        bool ok = false;
        const int value = qEnvironmentVariableIntValue(name, &ok);
        return ok ? value : fallback;
    };
    const quint32 seed = quint32(env("SOAK_SEED", int(QRandomGenerator::global()->bounded(1 << 30))));
    qInfo("soak seed %u (set SOAK_SEED=%u to repeat this run)", seed, seed);
    Soak s(seed);
    QVERIFY(s.sim->started() && s.serial.isOpen());
    for (int attempt = 0; attempt < 30 && !s.messages.texts().contains(u"连接成功!"_s); ++attempt) {
        s.click("Command3");
        QVERIFY(s.nextReply() >= 0);
    }
    QVERIFY(s.messages.texts().contains(u"连接成功!"_s));
    testing::onNextModal([](QDialog* d) { d->reject(); }); // makes the network dialog
    find<QAction>(s.form.get(), "netset")->trigger();
    s.dialog = find<config::Dialog2>(s.form.get(), "Dialog2");

    // Requests: 0 set ports, 1 sync ports, 2 write network, 3 read network; the first two
    // writes make the device's state known.
    const QStringList confirmations{u"设置扩展串口数据成功!请重启设备应用新的通迅波特率!"_s,
                                    u"扩展串口数据同步成功!"_s,
                                    u"网络参数设置成功,请重新上电初始化网络参数!"_s, QString()};
    const int panels = 42;
    QStringList device;
    QRandomGenerator random(seed);
    QElapsedTimer clock;
    clock.start();
    int requests = 0;
    int actedOn = 0;
    while (requests < env("SOAK_REQUESTS", 300) && clock.elapsed() < env("SOAK_SECONDS", 50) * 1000) {
        const int kind = requests < 2 ? 2 * requests : int(random.bounded(4));
        for (QComboBox* c : s.lists())
            if (kind == 0 && c->objectName() != u"Combo1")
                c->setCurrentIndex(int(random.bounded(c->count())));
        for (int i = 0; kind >= 2 && i < 18; ++i)
            s.dialog->setOctetText(i, QString::number(random.bounded(256)));
        s.dialog->show(); // a network confirmation hides it
        const QStringList before = s.snapshot();
        const qsizetype messagesBefore = s.messages.shown.size();
        if (kind < 2)
            s.click(kind == 0 ? "Command4" : "Command6");
        else
            find<QPushButton>(s.dialog, kind == 2 ? "OKButton" : "Command1")->click();
        if (requests == 0)
            device = before;
        else if (kind == 0 || kind == 2) // what the device now holds
            device = kind == 0 ? before.mid(0, panels) + device.mid(panels)
                               : device.mid(0, panels) + before.mid(panels);
        const int acts = s.nextReply();
        QVERIFY2(acts >= 0, qPrintable(u"no reply to request %1"_s.arg(requests + 1)));
        ++requests;
        const QString context = u"request %1 of kind %2, acts %3"_s.arg(requests).arg(kind).arg(acts);

        // Whether the program acted on the reply, as far as the operator can tell. A doubled reply
        // comes in one burst and shows one box; a split one is read whole when the program was
        // kept from reading between its halves.
        const QStringList after = s.snapshot();
        const QStringList shown = s.messages.texts().mid(messagesBefore);
        QVERIFY2(shown == QStringList(shown.size(), confirmations[kind]), qPrintable(context));
        const int observed =
            kind == 3 ? after.mid(panels) == device.mid(panels) && before != after : int(shown.size());
        QVERIFY2(observed == acts || (observed == 1 && acts == 0), qPrintable(context));
        actedOn += observed;
        const bool syncs = observed && kind == 1, reads = observed && kind == 3;
        QVERIFY2(after.mid(0, panels) == (syncs ? device : before).mid(0, panels), qPrintable(context));
        QVERIFY2(after.mid(panels) == (reads ? device : before).mid(panels), qPrintable(context));
    }
    const QString log = s.sim->log(); // every frame the program wrote was well formed
    QVERIFY2(!log.contains(u"rejected") && !log.contains(u"junk") && !log.contains(u"incomplete"),
             qPrintable(log.right(600)));

    // The program and the device agree: everything emptied, then read back until a reply gets
    // through untouched.
    for (QComboBox* c : s.lists())
        c->setCurrentIndex(c->objectName() == u"Combo1" ? 0 : -1);
    for (int i = 0; i < 18; ++i)
        s.dialog->setOctetText(i, QString());
    for (int attempt = 0; attempt < 30 && s.snapshot().at(0).isEmpty(); ++attempt) {
        s.click("Command6");
        QVERIFY(s.nextReply() >= 0);
    }
    for (int attempt = 0; attempt < 30 && s.snapshot().at(panels).isEmpty(); ++attempt) {
        find<QPushButton>(s.dialog, "Command1")->click();
        QVERIFY(s.nextReply() >= 0);
    }
    QCOMPARE(s.snapshot(), device);
    qInfo("soak: %d requests in %.1f s, %d replies acted on", requests, clock.elapsed() / 1000.0, actedOn);
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
