// SPDX-License-Identifier: MIT
#include "demo/DemoPortList.h"
#include "demo/DemoSerialControl.h"
#include "platform/LockFileInstance.h"
#include "platform/QtSerialControl.h"
#include "platform/SystemPortList.h"
#include "platform/ui/QtFileDialogs.h"
#include "platform/ui/QtMessageBoxes.h"
#include "shell/App.h"
#include "shell/CommandLine.h"
#include "shell/Form1.h"
#include "shell/Titles.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    if (const std::optional<int> exitCode = shell::answerInfoOptions(argc, argv))
        return *exitCode;
    QApplication application(argc, argv);
    if (const std::optional<int> exitCode = shell::refuseOtherArguments(QApplication::arguments()))
        return *exitCode;

    // With --demo the port list ends with the demonstration device, which every serial control
    // (the window's and those of "查找设备") reaches by its name.
    const bool demo = shell::wantsDemo(QApplication::arguments());
    const auto makeSerial = [demo]() -> std::unique_ptr<platform::SerialControl> {
        auto real = std::make_unique<platform::QtSerialControl>();
        if (!demo)
            return real;
        return std::make_unique<demo::DemoSerialControl>(std::move(real));
    };
    const std::unique_ptr<platform::SerialControl> serial = makeSerial();
    platform::SystemPortList systemPorts;
    demo::DemoPortList demoPorts(systemPorts);
    platform::PortList& ports = demo ? static_cast<platform::PortList&>(demoPorts) : systemPorts;
    platform::QtMessageBoxes messages(shell::ApplicationTitle.toString());
    platform::LockFileInstance instance(shell::ProgramName.toString());
    platform::QtFileDialogs files;
    const auto ownPort = [makeSerial](const QString&) { return makeSerial(); };

    shell::App app({*serial, ports, messages, instance, files, ownPort});
    messages.setParentWindow(&app.window());
    if (!app.Main())
        return 0;
    return QApplication::exec();
}
