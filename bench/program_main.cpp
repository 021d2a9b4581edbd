// SPDX-License-Identifier: MIT
// The program as main.cpp builds it (App and Form1 over the real services), with a probe:
//   bench-program startup   prints the first-paint line, then ends
//   bench-program memory    opens the port on a pty of its own, connects and synchronises
//                           (message boxes answered), then prints the peak resident memory
#include "bench/FirstPaint.h"
#include "bench/ModalCloser.h"
#include "bench/ProcessStats.h"
#include "bench/SyncDriver.h"
#include "platform/LockFileInstance.h"
#include "platform/QtSerialControl.h"
#include "platform/SystemPortList.h"
#include "platform/fake/PtyPair.h"
#include "platform/ui/QtFileDialogs.h"
#include "platform/ui/QtMessageBoxes.h"
#include "shell/App.h"
#include "shell/Form1.h"
#include "shell/Titles.h"

#include <QApplication>
#include <QTextStream>

#include <memory>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);

    const QString mode = application.arguments().value(1, QStringLiteral("startup"));
    if (mode != QStringLiteral("startup") && mode != QStringLiteral("memory")) {
        QTextStream(stderr) << "usage: bench-program [startup|memory]" << Qt::endl;
        return 2;
    }

    // The system's ports, and for the memory run the device's pty last, where the settings
    // dialog chooses it.
    struct Ports final : platform::PortList {
        platform::SystemPortList system;
        QString device;
        QStringList ports() const override {
            return device.isEmpty() ? system.ports() : system.ports() << device;
        }
    };
    platform::QtSerialControl serial;
    Ports ports;
    platform::QtMessageBoxes messages(shell::ApplicationTitle.toString());
    platform::LockFileInstance instance(QStringLiteral("expander-config"));

    platform::QtFileDialogs files;
    const auto ownPort = [](const QString&) { return std::make_unique<platform::QtSerialControl>(); };
    shell::App app({serial, ports, messages, instance, files, ownPort});
    messages.setParentWindow(&app.window());

    bench::FirstPaint probe(&app.window());
    // Only the memory run plays a device, so the start-up run carries nothing extra.
    std::unique_ptr<platform::PtyPair> device;
    std::unique_ptr<bench::ModalCloser> boxes;
    std::unique_ptr<bench::SyncDriver> driver;
    int status = 0;

    if (mode == QStringLiteral("startup")) {
        QObject::connect(&probe, &bench::FirstPaint::painted, &application, [&probe] {
            QTextStream(stdout) << probe.report() << Qt::endl;
            QCoreApplication::quit();
        });
    } else {
        device = std::make_unique<platform::PtyPair>();
        if (!device->isValid()) {
            QTextStream(stderr) << "bench-program: no pseudo-terminal" << Qt::endl;
            return 1;
        }
        ports.device = device->slavePath();
        boxes = std::make_unique<bench::ModalCloser>(100);
        driver = std::make_unique<bench::SyncDriver>(app.window(), *device, *boxes);
        QObject::connect(&probe, &bench::FirstPaint::painted, driver.get(), &bench::SyncDriver::start);
        QObject::connect(driver.get(), &bench::SyncDriver::finished, &application,
                         [&status](bool ok, const QString& why) {
                             if (ok)
                                 QTextStream(stdout) << "hwm_kb=" << bench::peakResidentKb() << Qt::endl;
                             else
                                 QTextStream(stderr) << "bench-program: " << why << Qt::endl;
                             status = ok ? 0 : 1;
                             QCoreApplication::quit();
                         });
    }

    if (!app.Main()) {
        QTextStream(stderr) << "bench-program: another copy holds the lock; set XDG_RUNTIME_DIR" << Qt::endl;
        return 1;
    }
    const int loop = QApplication::exec();
    return loop != 0 ? loop : status;
}
