// Makes the README's picture: the real program connected to a simulator, ports synchronised.
// Usage: screenshot OUTPUT.png (under a display, e.g. xvfb-run)
#include "FormHarness.h"
#include "SimProcess.h"
#include "platform/QtSerialControl.h"
#include "platform/SystemPortList.h"
#include "shell/App.h"

#include <QScreen>
#include <QTemporaryDir>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc < 2)
        qFatal("usage: screenshot OUTPUT.png");
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    testing::SimProcess sim(QStringLiteral(SIM_PATH), {QStringLiteral("--quiet")}, runtime.path());
    platform::QtSerialControl serial;
    platform::SystemPortList ports;
    platform::FakeMessageBoxes messages; // confirmations are answered at once
    platform::FakeSingleInstance instance;
    shell::App app({serial, ports, messages, instance}); // the program's own fonts and translations
    app.Main();
    shell::Form1& form = app.window();
    const auto click = [&form](const char* name) {
        testing::find<QPushButton>(&form, QLatin1String(name))->click();
    };
    testing::pressInNextModal(QStringLiteral("Command2"));
    click("Command2");
    click("Command2");
    for (const char* name : {"Command3", "Command6"}) {
        click(name);
        QTest::qWait(300);
    }
    testing::find<QComboBox>(&form, QStringLiteral("Combo7_1"))->setCurrentIndex(1); // RS485半双工
    testing::find<QPlainTextEdit>(&form, QStringLiteral("Text1"))->setPlainText(QStringLiteral("01 02 03"));
    click("Command8");
    QTest::qWait(300);
    const QRect frame = form.frameGeometry();
    if (!form.screen()
             ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
             .save(QString::fromLocal8Bit(argv[1])))
        qFatal("screenshot: cannot write %s", argv[1]);
    std::printf("%s: %s\n", argv[1], qPrintable(messages.texts().join(QStringLiteral(", "))));
    return sim.started() ? 0 : 1;
}
