// A soak of the whole program against a simulator whose every reply gets a random fault: delayed,
// split, doubled, dropped, corrupted or preceded by garbage. Every well-formed reply is acted on
// exactly once, no malformed one changes a control, every frame the program writes is well formed,
// and at the end the program and the device agree. SOAK_SEED, SOAK_REQUESTS and SOAK_SECONDS
// (defaults: random, 300, 50) set the run; longer runs also need QTEST_FUNCTION_TIMEOUT raised.
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
int envInt(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

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
        sim = std::make_unique<testing::SimProcess>(
            QStringLiteral(SIM_PATH), QStringList{QStringLiteral("--random-faults"), QString::number(seed)},
            runtime.path());
        form = std::make_unique<shell::Form1>(shell::Services{serial, ports, messages, instance});
        form->Form_Load();
        testing::pressInNextModal(QStringLiteral("Command2"));
        click("Command2");
        click("Command2");
    }
    void click(const char* name) { find<QPushButton>(form.get(), QLatin1String(name))->click(); }
    QList<QComboBox*> lists() const { return form->centralWidget()->findChildren<QComboBox*>(); }
    // What the operator sees of the device: every list, every octet box, the device buttons.
    QStringList snapshot() const {
        QStringList seen;
        for (QComboBox* c : lists())
            seen << c->currentText();
        for (const QString& box : dialog->octetTexts())
            seen << box;
        for (const char* name : {"Command1", "Command3", "Command4", "Command6"})
            seen << QString::number(find<QPushButton>(form.get(), QLatin1String(name))->isEnabled());
        return seen;
    }
    // Waits for the simulator's next reply and until the program has read all of it; then how
    // often the program must act on it (0 when dropped, corrupted, garbled or split wide), or -1.
    int nextReply() {
        static const QRegularExpression tx(QStringLiteral("^\\S+ tx (\\S+).*?(?: fault=(\\S+))?$"));
        QString tag;
        bool found = false;
        for (int i = 0; i < 1000 && !found; ++i) {
            const QString log = sim->log();
            for (qsizetype end; !found && (end = log.indexOf(QLatin1Char('\n'), scanned)) >= 0;
                 scanned = end + 1) {
                const QRegularExpressionMatch m = tx.match(log.mid(scanned, end - scanned));
                if (!m.hasMatch())
                    continue;
                found = true;
                tag = m.captured(2);
                if (tag != QStringLiteral("drop"))
                    sent += m.captured(1).size() / 2;
            }
            if (!found)
                testing::spin(2);
        }
        for (int i = 0; i < 1500 && serial.taken < sent; ++i)
            testing::spin(2);
        if (!found || serial.taken != sent)
            return -1;
        return tag.isEmpty() || tag.startsWith(QStringLiteral("delay")) ? 1
               : tag == QStringLiteral("double")                        ? 2
                                                                        : 0;
    }
};
} // namespace

class TestSoak : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void randomFaults();
};

void TestSoak::randomFaults() {
    const quint32 seed = quint32(envInt("SOAK_SEED", int(QRandomGenerator::global()->bounded(1 << 30))));
    const int planned = envInt("SOAK_REQUESTS", 300);
    const int seconds = envInt("SOAK_SECONDS", 50);
    qInfo("soak seed %u (set SOAK_SEED=%u to repeat this run)", seed, seed);
    Soak s(seed);
    QVERIFY(s.sim->started() && s.serial.isOpen());
    const QString connected = QStringLiteral("连接成功!");
    for (int attempt = 0; attempt < 30 && !s.messages.texts().contains(connected); ++attempt) {
        s.click("Command3");
        QVERIFY(s.nextReply() >= 0);
    }
    QVERIFY(s.messages.texts().contains(connected));
    testing::onNextModal([](QDialog* d) { d->reject(); }); // makes the network dialog
    find<QAction>(s.form.get(), QStringLiteral("netset"))->trigger();
    s.dialog = find<config::Dialog2>(s.form.get(), QStringLiteral("Dialog2"));

    // The device's state as the program should learn it: its factory settings first.
    const QMap<QChar, QString> factory{{u'1', QStringLiteral("1")},     {u'2', QStringLiteral("9600")},
                                       {u'3', QStringLiteral("8")},     {u'4', QStringLiteral("1")},
                                       {u'5', QStringLiteral("无")},    {u'6', QStringLiteral("9600")},
                                       {u'7', QStringLiteral("RS232")}, {u'8', QStringLiteral("允许")}};
    QStringList factoryPanels;
    for (QComboBox* c : s.lists())
        factoryPanels << factory.value(c->objectName().at(5));
    const QStringList factoryBoxes =
        QStringLiteral("0 8 220 1 2 3 192 168 1 100 255 255 255 0 192 168 1 1").split(u' ');
    QStringList devicePanels = factoryPanels;
    QStringList deviceBoxes = factoryBoxes;
    const int panels = int(factoryPanels.size());
    const QStringList confirmations{connected,
                                    QStringLiteral("设置扩展串口数据成功!请重启设备应用新的通迅波特率!"),
                                    QStringLiteral("扩展串口数据同步成功!"),
                                    QStringLiteral("网络参数设置成功,请重新上电初始化网络参数!"),
                                    QString(),
                                    QString()};
    QRandomGenerator random(seed);
    QElapsedTimer clock;
    clock.start();
    int requests = 0;
    int actedOn = 0;
    while (requests < planned && clock.elapsed() < seconds * 1000) {
        // 0 connect, 1 set, 2 sync, 3 network write, 4 restore, 5 network read
        const int kind = std::array{0, 1, 1, 1, 2, 2, 2, 3, 3, 4, 5, 5}[random.bounded(12)];
        for (QComboBox* c : s.lists())
            if (kind == 1 && c->objectName() != QLatin1String("Combo1"))
                c->setCurrentIndex(int(random.bounded(c->count())));
        for (int i = 0; kind >= 3 && i < 18; ++i)
            s.dialog->setOctetText(i, QString::number(random.bounded(256)));
        s.dialog->show(); // its confirmation hides it
        const QStringList before = s.snapshot();
        const qsizetype messagesBefore = s.messages.shown.size();
        if (kind == 0)
            s.click("Command3");
        else if (kind == 1)
            s.click("Command4");
        else if (kind == 2)
            s.click("Command6");
        else if (kind == 4)
            find<QAction>(s.form.get(), QStringLiteral("Easer"))->trigger();
        else
            find<QPushButton>(s.dialog, kind == 3 ? QStringLiteral("OKButton") : QStringLiteral("Command1"))
                ->click();
        if (kind == 1)
            devicePanels = before.mid(0, panels);
        if (kind == 3)
            deviceBoxes = before.mid(panels, 18);
        if (kind == 4) {
            devicePanels = factoryPanels;
            deviceBoxes = factoryBoxes;
        }
        const int acts = s.nextReply();
        QVERIFY2(acts >= 0, qPrintable(QStringLiteral("no reply to request %1").arg(requests + 1)));
        ++requests;
        const QString context =
            QStringLiteral("request %1 of kind %2, acts %3").arg(requests).arg(kind).arg(acts);

        // How often the program acted on the reply, as far as the operator can tell.
        const QStringList after = s.snapshot();
        const QStringList shown = s.messages.texts().mid(messagesBefore);
        // A doubled reply comes in one burst: it shows one box, and a second identical effect
        // cannot be told from the first.
        const int wanted = qMin(acts, 1);
        int observed = int(shown.size());
        if (confirmations[kind].isEmpty()) {
            QVERIFY2(shown.isEmpty(), qPrintable(context));
            observed = kind == 4
                           ? s.form->findChild<QPlainTextEdit*>(QStringLiteral("Text1"))
                                 ->toPlainText()
                                 .contains(QStringLiteral("还原设置成功"))
                           : after.mid(panels, 18) == deviceBoxes && before.mid(panels, 18) != deviceBoxes;
        } else {
            QVERIFY2(shown == QStringList(shown.size(), confirmations[kind]), qPrintable(context));
        }
        // A split reply can be read whole when the program is kept from reading between its halves.
        QVERIFY2(observed == wanted || (observed == 1 && wanted == 0), qPrintable(context));
        actedOn += observed;
        if (observed == 0) {
            QVERIFY2(after == before, qPrintable(context)); // a malformed reply changes nothing
            continue;
        }
        QVERIFY2(after.mid(0, panels) == (kind == 2 ? devicePanels : before.mid(0, panels)),
                 qPrintable(context));
        QVERIFY2(after.mid(panels, 18) == (kind == 5 ? deviceBoxes : before.mid(panels, 18)),
                 qPrintable(context));
    }
    const QString log = s.sim->log(); // every frame the program wrote was well formed
    QVERIFY2(!log.contains(QStringLiteral("rejected")) && !log.contains(QStringLiteral("junk")) &&
                 !log.contains(QStringLiteral("incomplete")),
             qPrintable(log.right(600)));

    // The program and the device agree: read both back until a reply gets through untouched.
    for (const QString& read : {QStringLiteral("Command6"), QStringLiteral("Command1")}) {
        int acts = 0;
        for (int attempt = 0; attempt < 30 && acts == 0; ++attempt) {
            s.dialog->show();
            find<QPushButton>(
                read == QLatin1String("Command6") ? static_cast<QWidget*>(s.form.get()) : s.dialog, read)
                ->click();
            acts = s.nextReply();
            QVERIFY(acts >= 0);
        }
    }
    QCOMPARE(s.snapshot().mid(0, panels), devicePanels);
    QCOMPARE(s.snapshot().mid(panels, 18), deviceBoxes);
    qInfo("soak: %d requests in %.1f s, %d replies acted on", requests, clock.elapsed() / 1000.0, actedOn);
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
