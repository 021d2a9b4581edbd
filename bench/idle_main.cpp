// SPDX-License-Identifier: MIT
// Idle cost: CPU time the program uses with its window shown and the port open on a pty while
// nothing arrives.
//   bench-idle [--seconds S]
#include "bench/ProcessStats.h"
#include "bench/PtyWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption secondsOption(QStringLiteral("seconds"), QStringLiteral("How long to watch."),
                                           QStringLiteral("S"), QStringLiteral("10"));
    parser.addOption(secondsOption);
    parser.addHelpOption();
    parser.process(application);
    const int seconds = qMax(1, parser.value(secondsOption).toInt());

    bench::PtyWindow window;
    if (!window.openPort()) {
        QTextStream(stderr) << "bench-idle: the port did not open on the pty" << Qt::endl;
        return 1;
    }
    qint64 cpuAtStart = 0;
    qint64 switchesAtStart = 0;
    QObject* context = &application;
    // Start-up, the first paints and the quiet timer's first tick are over after a second.
    QTimer::singleShot(1000, context, [&] {
        cpuAtStart = bench::cpuTimeUs();
        switchesAtStart = bench::voluntarySwitches();
        QTimer::singleShot(seconds * 1000, Qt::PreciseTimer, context, [&] {
            const double cpuMs = double(bench::cpuTimeUs() - cpuAtStart) / 1000;
            const qint64 wakeups = bench::voluntarySwitches() - switchesAtStart;
            QTextStream out(stdout);
            out << QStringLiteral("idle: %1 ms of CPU in %2 s with the port open, %3 sleeps (%4 a second)")
                       .arg(cpuMs, 0, 'f', 1)
                       .arg(seconds)
                       .arg(wakeups)
                       .arg(double(wakeups) / seconds, 0, 'f', 1)
                << Qt::endl;
            out << "result idle_cpu_ms " << QString::number(cpuMs * 10.0 / seconds, 'f', 1) << Qt::endl;
            QCoreApplication::quit();
        });
    });
    return QApplication::exec();
}
