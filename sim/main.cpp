// SPDX-License-Identifier: MIT
#include "sim/Options.h"
#include "sim/SignalWatcher.h"
#include "sim/Simulator.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("expander-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    // A test that stops reading the log must not kill the device with SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);

    const sim::Options options = sim::Options::parse(QCoreApplication::arguments());

    sim::SignalWatcher watcher;
    sim::Simulator simulator(options);
    if (!watcher.install()) {
        std::fputs("expander-sim: cannot watch for signals\n", stderr);
        return 1;
    }
    // Stopping on a signal is the normal way to end, so it ends with status 0.
    QObject::connect(&watcher, &sim::SignalWatcher::caught, &app, [&simulator](int number) {
        if (number == SIGUSR1) {
            simulator.powerCycle();
            return;
        }
        simulator.terminate(number);
        QCoreApplication::exit(0);
    });
    QObject::connect(&simulator, &sim::Simulator::finished, &app, [] { QCoreApplication::exit(0); });

    QString error;
    if (!simulator.start(&error)) {
        std::fputs((QStringLiteral("expander-sim: ") + error + QLatin1Char('\n')).toLocal8Bit().constData(),
                   stderr);
        return 1;
    }
    return app.exec();
}
