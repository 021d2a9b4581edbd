// A copy of the program with the real single-instance check and message boxes that print
// instead of waiting: prints "shown" once its window is up, or the message it was turned away with.
#include "platform/LockFileInstance.h"
#include "platform/fake/FakeFileDialogs.h"
#include "platform/fake/FakeMessageBoxes.h"
#include "platform/fake/FakePortList.h"
#include "platform/fake/FakeSerialControl.h"
#include "shell/App.h"
#include "shell/Form1.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    platform::FakeSerialControl serial;
    platform::FakePortList ports;
    platform::FakeMessageBoxes messages;
    messages.whileShown = [](const platform::FakeMessageBoxes::Message& m) {
        std::printf("message: %s|%s|%s\n", m.text.toUtf8().constData(), m.title.toUtf8().constData(),
                    m.icon == platform::MessageBoxes::Icon::Information ? "information" : "none");
        std::fflush(stdout);
    };
    platform::LockFileInstance instance(QStringLiteral("expander-config"));
    platform::FakeFileDialogs files;
    shell::App app({serial, ports, messages, instance, files, {}});
    if (!app.Main())
        return 0;
    std::printf("shown\n");
    std::fflush(stdout);
    return QApplication::exec();
}
