// Makes the README's picture: the real program connected to a simulator, ports synchronised.
// Usage: screenshot OUTPUT.png (under a display, e.g. xvfb-run)
#include "FormHarness.h"
#include "SimProcess.h"
#include "platform/QtSerialControl.h"
#include "platform/SystemPortList.h"
#include "platform/ui/QtMessageBoxes.h"

#include <QScreen>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: screenshot OUTPUT.png\n");
        return 2;
    }
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    testing::SimProcess sim(QStringLiteral(SIM_PATH), {QStringLiteral("--quiet")}, runtime.path());
    if (!sim.started()) {
        std::fprintf(stderr, "screenshot: the simulator did not start\n");
        return 1;
    }
    platform::QtSerialControl serial;
    platform::SystemPortList ports;
    platform::FakeMessageBoxes messages; // confirmations are answered at once
    platform::FakeSingleInstance instance;
    shell::Form1 form({serial, ports, messages, instance});
    form.Form_Load();
    form.show();
    testing::FormHarness::pressInNextModal(QStringLiteral("Command2"));
    form.view().Command2->click();
    form.view().Command2->click();
    form.view().Command3->click();
    testing::spin(300);
    form.view().Command6->click();
    testing::spin(300);
    form.view().Text1->setPlainText(QStringLiteral("01 02 03"));
    form.view().Command8->click();
    testing::spin(300);
    const QPixmap shot =
        form.screen()->grabWindow(0, form.frameGeometry().x(), form.frameGeometry().y(),
                                  form.frameGeometry().width(), form.frameGeometry().height());
    if (!shot.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s: %s\n", argv[1], qPrintable(messages.texts().join(QStringLiteral(", "))));
    return 0;
}
