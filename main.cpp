#include "platform/LockFileInstance.h"
#include "platform/QtSerialControl.h"
#include "platform/SystemPortList.h"
#include "platform/ui/QtMessageBoxes.h"
#include "shell/App.h"
#include "shell/Form1.h"
#include "shell/Titles.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("expander-config"));
    QApplication::setApplicationDisplayName(shell::ApplicationTitle.toString());

    platform::QtSerialControl serial;
    platform::SystemPortList ports;
    platform::QtMessageBoxes messages(shell::ApplicationTitle.toString());
    platform::LockFileInstance instance(QStringLiteral("expander-config"));

    shell::App app({serial, ports, messages, instance});
    messages.setParentWindow(&app.window());
    if (!app.Main())
        return 0;
    return QApplication::exec();
}
