// SPDX-License-Identifier: MIT
// Compares the program with the minimal Qt Widgets program. The probes run in turn, round after
// round, so that drift of the shared machine falls on all of them alike.
//   bench-compare startup --program P --minimal M [--runs 20]
//       process start (/proc/self/stat) to the main window's first paint: medians and ratio; the
//       same interval from the spawn by this program's clock, which has no clock-tick steps
//   bench-compare memory --program P --minimal M [--runs 5]
//       peak resident memory (VmHWM): the program connected and synchronised, the minimal
//       program after its first paint: medians and ratio
// The minimal program also runs with Chinese menu titles, which shows how much of the
// difference the CJK font accounts for; the ratio is taken against the plain one.
#include "bench/ProbeRunner.h"
#include "bench/Stats.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <vector>

namespace {

// One probe executable with its arguments, and what its runs measured.
struct Probe {
    QString label;
    QString path;
    QStringList arguments;
    std::vector<double> first;        // start-up: first paint; memory: peak resident kB
    std::vector<double> second;       // start-up: paint pass done
    std::vector<double> spawned;      // start-up: from just before the spawn to the paint pass done
    std::vector<double> spawnedFirst; // start-up: from just before the spawn to the first paint
};

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

QString fixed(double value, int decimals = 1) {
    return QString::number(value, 'f', decimals);
}

bool runAll(bench::ProbeRunner& runner, std::vector<Probe>& probes, int runs, bool startup) {
    for (int i = 0; i < runs; ++i) {
        for (Probe& probe : probes) {
            const auto result = runner.run(probe.path, probe.arguments);
            if (!result) {
                QTextStream(stderr) << "bench-compare: " << runner.error() << Qt::endl;
                return false;
            }
            if (startup) {
                probe.first.push_back(result->number(QStringLiteral("paint_ms")));
                probe.second.push_back(result->number(QStringLiteral("painted_ms")));
                const qint64 painted = result->values.value(QStringLiteral("painted_boot_ns")).toLongLong();
                probe.spawned.push_back(double(painted - result->spawnNs) / 1e6);
                const qint64 paint = result->values.value(QStringLiteral("paint_boot_ns")).toLongLong();
                probe.spawnedFirst.push_back(double(paint - result->spawnNs) / 1e6);
            } else {
                probe.first.push_back(result->number(QStringLiteral("hwm_kb")));
            }
        }
    }
    return true;
}

int compareStartup(std::vector<Probe>& probes, int runs) {
    out() << QStringLiteral("startup: process start to the main window's first paint, median of %1 runs each")
                 .arg(runs)
          << Qt::endl
          << QStringLiteral(
                 "         (the start time has clock-tick resolution, 10 ms; the spawn figure does not)")
          << Qt::endl;
    for (const Probe& p : probes)
        out() << QStringLiteral(
                     "  %1 first paint %2 ms, paint pass done %3 ms; spawn to first paint %4 ms, to paint "
                     "pass done %5 ms")
                     .arg(p.label, -20)
                     .arg(fixed(bench::median(p.first)), 6)
                     .arg(fixed(bench::median(p.second)), 6)
                     .arg(fixed(bench::median(p.spawnedFirst)), 6)
                     .arg(fixed(bench::median(p.spawned)), 6)
              << Qt::endl;
    const double ratio = bench::median(probes[0].first) / bench::median(probes[1].first);
    const double spawnRatio = bench::median(probes[0].spawned) / bench::median(probes[1].spawned);
    // The same interval as `ratio`, timed by the parent's clock: no clock-tick steps, plus the spawn.
    const double spawnFirstRatio =
        bench::median(probes[0].spawnedFirst) / bench::median(probes[1].spawnedFirst);
    const double cjkRatio = bench::median(probes[0].first) / bench::median(probes[2].first);
    out() << QStringLiteral("  ratio %1 (spawn to first paint %2, to paint pass done %3; against the Chinese "
                            "menu titles %4)")
                 .arg(fixed(ratio, 2), fixed(spawnFirstRatio, 2), fixed(spawnRatio, 2), fixed(cjkRatio, 2))
          << Qt::endl;
    out() << "result startup_program_ms " << fixed(bench::median(probes[0].first)) << Qt::endl;
    out() << "result startup_minimal_ms " << fixed(bench::median(probes[1].first)) << Qt::endl;
    out() << "result startup_ratio " << fixed(ratio, 2) << Qt::endl;
    out() << "result startup_spawn_first_ratio " << fixed(spawnFirstRatio, 2) << Qt::endl;
    out() << "result startup_spawn_ratio " << fixed(spawnRatio, 2) << Qt::endl;
    return 0;
}

int compareMemory(std::vector<Probe>& probes, int runs) {
    out() << QStringLiteral(
                 "memory: peak resident set (VmHWM), median of %1 runs each; the program connected and "
                 "synchronised, the minimal program after its first paint")
                 .arg(runs)
          << Qt::endl;
    for (const Probe& p : probes)
        out() << QStringLiteral("  %1 %2 kB").arg(p.label, -20).arg(fixed(bench::median(p.first), 0), 6)
              << Qt::endl;
    const double ratio = bench::median(probes[0].first) / bench::median(probes[1].first);
    const double cjkRatio = bench::median(probes[0].first) / bench::median(probes[2].first);
    out() << QStringLiteral("  ratio %1 (against the Chinese menu titles %2)")
                 .arg(fixed(ratio, 2), fixed(cjkRatio, 2))
          << Qt::endl;
    out() << "result memory_program_kb " << fixed(bench::median(probes[0].first), 0) << Qt::endl;
    out() << "result memory_minimal_kb " << fixed(bench::median(probes[1].first), 0) << Qt::endl;
    out() << "result memory_ratio " << fixed(ratio, 2) << Qt::endl;
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Compares the program with the minimal Qt Widgets program."));
    const QCommandLineOption programOption(QStringLiteral("program"), QStringLiteral("The program's probe."),
                                           QStringLiteral("PATH"));
    const QCommandLineOption minimalOption(QStringLiteral("minimal"), QStringLiteral("The minimal program."),
                                           QStringLiteral("PATH"));
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("Runs of each."),
                                        QStringLiteral("N"));
    parser.addOptions({programOption, minimalOption, runsOption});
    parser.addPositionalArgument(QStringLiteral("what"), QStringLiteral("startup or memory"));
    parser.addHelpOption();
    parser.process(application);

    const QString what = parser.positionalArguments().value(0);
    if ((what != QStringLiteral("startup") && what != QStringLiteral("memory")) ||
        !parser.isSet(programOption) || !parser.isSet(minimalOption))
        parser.showHelp(2);
    const bool startup = what == QStringLiteral("startup");
    const int runs =
        parser.isSet(runsOption) ? qMax(1, parser.value(runsOption).toInt()) : (startup ? 20 : 5);

    const QString minimal = parser.value(minimalOption);
    std::vector<Probe> probes{
        {QStringLiteral("program"), parser.value(programOption), {what}, {}, {}, {}, {}},
        {QStringLiteral("minimal"), minimal, {}, {}, {}, {}, {}},
        {QStringLiteral("minimal, Chinese"), minimal, {QStringLiteral("--cjk")}, {}, {}, {}, {}},
    };
    bench::ProbeRunner runner;
    if (!runAll(runner, probes, runs, startup))
        return 1;
    return startup ? compareStartup(probes, runs) : compareMemory(probes, runs);
}
