// SPDX-License-Identifier: MIT
// The traffic log under a flood: a device on a pty sends N replies a minute (10,000 by default), in
// turn a connect confirmation, a port-set confirmation and a port configuration, while the log is
// at its bound, so that every row appended drops the oldest. The line is never quiet for 50 ms, so
// the window reads it a receive buffer at a time and appends dozens of rows at once. With
// --malformed every fourth reply has a wrong end byte, which makes the rest of its reading one long
// row. Measured: the longest time the event loop did not turn (the reply processing, the rows
// appended and the repaint together, as the operator feels it) and the longest repaint of the
// window, first with the log pane hidden, then shown.
//   bench-trafficlog [--seconds S] [--rate N] [--malformed]
#include "bench/PtyWindow.h"
#include "bench/Stats.h"
#include "traffic/TrafficLog.h"

#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTextStream>
#include <QTimer>

#include <vector>

namespace {

// Times every repaint of a window: Qt paints a window's widgets on its UpdateRequest.
class TimedApplication final : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        if (event->type() != QEvent::UpdateRequest)
            return QApplication::notify(receiver, event);
        QElapsedTimer timer;
        timer.start();
        const bool done = QApplication::notify(receiver, event);
        worstPaintMs = qMax(worstPaintMs, double(timer.nsecsElapsed()) / 1e6);
        return done;
    }
    double worstPaintMs = 0;
};

struct Phase {
    std::vector<double> stallsMs; // each turn of the loop beyond the probe's 1 ms
    double worstPaintMs = 0;
    int rows = 0;
};

} // namespace

int main(int argc, char* argv[]) {
    TimedApplication application(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption secondsOption(QStringLiteral("seconds"), QStringLiteral("Length of each phase."),
                                           QStringLiteral("S"), QStringLiteral("20"));
    const QCommandLineOption rateOption(QStringLiteral("rate"), QStringLiteral("Replies a minute."),
                                        QStringLiteral("N"), QStringLiteral("10000"));
    const QCommandLineOption malformedOption(QStringLiteral("malformed"),
                                             QStringLiteral("Every fourth reply with a wrong end byte."));
    parser.addOptions({secondsOption, rateOption, malformedOption});
    parser.addHelpOption();
    parser.process(application);
    const int seconds = qMax(1, parser.value(secondsOption).toInt());
    const double perMs = qMax(1, parser.value(rateOption).toInt()) / 60000.0;

    bench::PtyWindow window;
    if (!window.openPort()) {
        QTextStream(stderr) << "bench-trafficlog: the port did not open on the pty" << Qt::endl;
        return 1;
    }
    auto* log = window.form().findChild<traffic::TrafficLog*>();
    for (int i = 0; i < log->capacity(); ++i)
        log->append(traffic::Kind::Received, QByteArray::fromHex("4002E123"), QStringLiteral("连接成功"));

    QList<QByteArray> replies = {QByteArray::fromHex("4002E123"), QByteArray::fromHex("4002E223"),
                                 QByteArray::fromHex("401CFB" + QByteArray("600302").repeated(8) + "080123")};
    if (parser.isSet(malformedOption))
        replies.insert(2, QByteArray::fromHex("4002E124"));
    QElapsedTimer clock;
    qint64 written = 0;
    // Writes every reply due by now, so that a loop that stalls meets the backlog a device makes.
    QTimer device;
    device.setTimerType(Qt::PreciseTimer);
    QObject::connect(&device, &QTimer::timeout, &device, [&] {
        const qint64 due = qint64(double(clock.elapsed()) * perMs);
        QByteArray bytes;
        for (; written < due; ++written)
            bytes += replies[written % replies.size()];
        if (!bytes.isEmpty())
            window.device().write(bytes);
    });

    std::vector<Phase> phases(2);
    Phase* measuring = nullptr;
    QElapsedTimer sinceTick;
    int rowsAtStart = 0;
    QObject::connect(log, &traffic::TrafficLog::rowsInserted, log, [&] { ++rowsAtStart; });
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, &probe, [&] {
        if (measuring)
            measuring->stallsMs.push_back(qMax(0.0, double(sinceTick.nsecsElapsed()) / 1e6 - 1));
        sinceTick.restart();
    });
    const auto begin = [&](Phase& phase) {
        application.worstPaintMs = 0;
        rowsAtStart = 0;
        measuring = &phase;
        sinceTick.restart();
    };
    const auto end = [&](Phase& phase) {
        phase.worstPaintMs = application.worstPaintMs;
        phase.rows = rowsAtStart;
        measuring = nullptr;
    };
    QAction* pane = window.form().findChild<QAction*>(QStringLiteral("trafficLog"));

    clock.start();
    device.start(1);
    probe.start();
    sinceTick.start();
    // A second to settle, a phase with the pane hidden, the pane opened, a phase with it shown.
    QTimer::singleShot(1000, &application, [&] { begin(phases[0]); });
    QTimer::singleShot(1000 + seconds * 1000, &application, [&] {
        end(phases[0]);
        pane->trigger();
    });
    QTimer::singleShot(1500 + seconds * 1000, &application, [&] { begin(phases[1]); });
    QTimer::singleShot(1500 + 2 * seconds * 1000, &application, [&] {
        end(phases[1]);
        QCoreApplication::quit();
    });
    QApplication::exec();

    QTextStream out(stdout);
    const char* names[] = {"hidden", "shown"};
    for (int i = 0; i < 2; ++i) {
        const Phase& p = phases[i];
        out << QStringLiteral("traffic log pane %1, %2 replies a minute%8 for %3 s: %4 rows appended; "
                              "event loop stalled at most %5 ms (p99 %6 ms); longest repaint %7 ms")
                   .arg(QLatin1String(names[i]))
                   .arg(qRound(perMs * 60000))
                   .arg(seconds)
                   .arg(p.rows)
                   .arg(bench::percentile(p.stallsMs, 100), 0, 'f', 2)
                   .arg(bench::percentile(p.stallsMs, 99), 0, 'f', 2)
                   .arg(p.worstPaintMs, 0, 'f', 2)
                   .arg(parser.isSet(malformedOption) ? QStringLiteral(", a quarter malformed,") : QString())
            << Qt::endl;
    }
    const QString key =
        parser.isSet(malformedOption) ? QStringLiteral("trafficlog_malformed") : QStringLiteral("trafficlog");
    out << "result " << key << "_worst_pause_ms "
        << QString::number(bench::percentile(phases[1].stallsMs, 100), 'f', 2) << Qt::endl;
    out << "result " << key << "_worst_pause_hidden_ms "
        << QString::number(bench::percentile(phases[0].stallsMs, 100), 'f', 2) << Qt::endl;
    out << "result " << key << "_worst_paint_ms " << QString::number(phases[1].worstPaintMs, 'f', 2)
        << Qt::endl;
    out << "result " << key << "_rows " << phases[1].rows << Qt::endl;
    return 0;
}
