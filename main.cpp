// SPDX-License-Identifier: MIT
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

    platform::QtSerialControl serial;
    platform::SystemPortList ports;
    platform::QtMessageBoxes messages(shell::ApplicationTitle.toString());
    platform::LockFileInstance instance(shell::ProgramName.toString());
    platform::QtFileDialogs files;
    const auto ownPort = [](const QString&) { return std::make_unique<platform::QtSerialControl>(); };

    shell::App app({serial, ports, messages, instance, files, ownPort});
    messages.setParentWindow(&app.window());
    if (!app.Main())
        return 0;
    return QApplication::exec();
}
