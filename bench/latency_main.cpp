// SPDX-License-Identifier: MIT
// Reply latency: the real serial port on a pty, replies written one at a time with pauses
// between; prints p50 and p99 of the time from the last byte's write to the command line's
// change, less the 50 ms quiet time.
//   bench-latency [--replies N] [--pause MS] [--reply HEX]
#include "bench/LatencyRun.h"
#include "bench/PtyWindow.h"
#include "bench/Stats.h"
#include "link/PortController.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption repliesOption(QStringLiteral("replies"), QStringLiteral("Replies to time."),
                                           QStringLiteral("N"), QStringLiteral("200"));
    const QCommandLineOption pauseOption(QStringLiteral("pause"), QStringLiteral("Pause after each reply."),
                                         QStringLiteral("MS"), QStringLiteral("150"));
    const QCommandLineOption replyOption(QStringLiteral("reply"), QStringLiteral("The reply's bytes."),
                                         QStringLiteral("HEX"), QStringLiteral("4002E223"));
    parser.addOptions({repliesOption, pauseOption, replyOption});
    parser.addHelpOption();
    parser.process(application);
    const int replies = qMax(1, parser.value(repliesOption).toInt());
    const QByteArray reply = QByteArray::fromHex(parser.value(replyOption).toLatin1());

    QTextStream out(stdout);
    bench::PtyWindow window;
    if (!window.openPort()) {
        QTextStream(stderr) << "bench-latency: the port did not open on the pty" << Qt::endl;
        return 1;
    }
    bench::LatencyRun run(window.form(), window.device(), reply, replies, parser.value(pauseOption).toInt());
    int status = 0;
    QObject::connect(&run, &bench::LatencyRun::finished, &application, [&](bool ok, const QString& why) {
        if (!ok) {
            QTextStream(stderr) << "bench-latency: " << why << Qt::endl;
            status = 1;
            QCoreApplication::quit();
            return;
        }
        const double quiet = serial::PortController::QuietTimeMs;
        const std::vector<double>& ms = run.latenciesMs();
        const double p50 = bench::percentile(ms, 50) - quiet;
        const double p99 = bench::percentile(ms, 99) - quiet;
        const double worst = bench::percentile(ms, 100) - quiet;
        out << QStringLiteral("latency: %1 replies of %2, beyond the %3 ms quiet time: "
                              "p50 %4 ms, p99 %5 ms, max %6 ms")
                   .arg(ms.size())
                   .arg(QString::fromLatin1(reply.toHex().toUpper()))
                   .arg(quiet)
                   .arg(p50, 0, 'f', 2)
                   .arg(p99, 0, 'f', 2)
                   .arg(worst, 0, 'f', 2)
            << Qt::endl;
        out << "result latency_p50_excess_ms " << QString::number(p50, 'f', 2) << Qt::endl;
        out << "result latency_p99_excess_ms " << QString::number(p99, 'f', 2) << Qt::endl;
        QCoreApplication::quit();
    });
    // The first tick of the quiet timer and the first paints are over before timing begins.
    QTimer::singleShot(300, &run, &bench::LatencyRun::start);
    const int loop = QApplication::exec();
    return loop != 0 ? loop : status;
}
