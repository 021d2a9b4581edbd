// SPDX-License-Identifier: MIT
// expander-cli against the simulator, each figure beside what it is measured against in the same run:
//   unit      one unit's connect, port write and verify read-back (elapsedMs of its JSON line) at
//             115200 and 9600 baud with --pace, beside the floor: the same three exchanges made by a
//             minimal blocking client over the same paced simulator (wire time plus turnaround);
//   parallel  8 units of one simulator at once (the slowest unit) against one unit alone;
//   scan      4 ports at every baud with nothing answering (the whole process) against the sum of
//             the time-outs one port must wait, the ports being scanned side by side.
// Prints "result NAME VALUE" lines for scripts/bench.
//   bench-cli [--runs N] [--cli PATH] [--sim PATH]
#include "bench/Stats.h"
#include "config/ProfileFile.h"
#include "device/Connector.h"
#include "device/Scanner.h"
#include "device/Timing.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <algorithm>
#include <barrier>

namespace {

QTextStream out(stdout);

// A running simulator and the main-port paths of its devices.
class Simulator {
public:
    Simulator(const QString& program, const QStringList& arguments, const QString& runtime) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(program, arguments + QStringList{QStringLiteral("--quiet")});
        QByteArray text;
        QElapsedTimer clock;
        clock.start();
        while (!text.contains("ready\n") && clock.elapsed() < 5000 && m_process.waitForReadyRead(1000))
            text += m_process.readAllStandardOutput();
        for (const QString& line : QString::fromUtf8(text).split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("device ")) && !line.contains(QLatin1String(" port ")))
                m_devices.append(line.section(QStringLiteral(": "), 1));
            else if (line.startsWith(QLatin1Char('/')) && m_devices.isEmpty())
                m_devices.append(line);
        }
    }
    ~Simulator() {
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
    }
    const QStringList& devices() const { return m_devices; }

private:
    QProcess m_process;
    QStringList m_devices;
};

// One run of the tool: its JSON lines' elapsedMs and the process's wall time.
struct ToolRun {
    bool passed = true;
    std::vector<double> elapsedMs;
    double wallMs = 0;
};

ToolRun runTool(const QString& program, const QStringList& arguments, const QString& runtime) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    process.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    process.waitForFinished(120000);
    ToolRun run;
    run.wallMs = double(clock.nsecsElapsed()) / 1e6;
    run.passed = process.exitCode() == 0;
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        const QJsonObject object = QJsonDocument::fromJson(line).object();
        if (!object.isEmpty())
            run.elapsedMs.push_back(object.value(QStringLiteral("elapsedMs")).toDouble());
    }
    return run;
}

// The three exchanges of a unit (connect, port write, port read) by a blocking client, in ms.
double unitExchanges(QSerialPort& port, const QByteArray& portSet) {
    const std::pair<QByteArray, int> exchanges[] = {
        {QByteArray::fromHex("4002F123"), 4}, {portSet, 4}, {QByteArray::fromHex("4002FB23"), 30}};
    QElapsedTimer clock;
    clock.start();
    for (const auto& [request, replySize] : exchanges) {
        port.write(request);
        port.waitForBytesWritten(1000);
        QByteArray reply;
        while (reply.size() < replySize && port.waitForReadyRead(1000))
            reply += port.readAll();
    }
    return double(clock.nsecsElapsed()) / 1e6;
}

// The floor of `devices` served at once: a blocking client per device, each in a thread of its
// own, the ports opened before they start together; the slowest of each run, in ms.
std::vector<double> floorRuns(const QStringList& devices, qint32 baud, const QByteArray& portSet, int runs) {
    std::vector<double> samples;
    for (int run = 0; run < runs; ++run) {
        std::barrier start(devices.size());
        std::vector<double> times(size_t(devices.size()), 0.0);
        std::vector<std::unique_ptr<QThread>> threads;
        for (qsizetype i = 0; i < devices.size(); ++i) {
            threads.emplace_back(QThread::create([&, i] {
                QSerialPort port(devices[i]);
                port.setBaudRate(baud);
                const bool open = port.open(QIODevice::ReadWrite);
                start.arrive_and_wait();
                times[size_t(i)] = open ? unitExchanges(port, portSet) : 0.0;
            }));
            threads.back()->start();
        }
        for (const auto& thread : threads)
            thread->wait();
        samples.push_back(*std::max_element(times.begin(), times.end()));
    }
    return samples;
}

QString number(double value) {
    return QString::number(value, 'f', 2);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("Runs of each measurement."),
                                        QStringLiteral("N"), QStringLiteral("15"));
    const QCommandLineOption cliOption(QStringLiteral("cli"), QStringLiteral("expander-cli."),
                                       QStringLiteral("PATH"), QStringLiteral(CLI_PATH));
    const QCommandLineOption simOption(QStringLiteral("sim"), QStringLiteral("expander-sim."),
                                       QStringLiteral("PATH"), QStringLiteral(SIM_PATH));
    parser.addOptions({runsOption, cliOption, simOption});
    parser.addHelpOption();
    parser.process(application);
    const int runs = std::max(1, parser.value(runsOption).toInt());
    const QString cli = parser.value(cliOption);
    const QString sim = parser.value(simOption);

    QTemporaryDir runtime;
    // The profile every unit is given: the ports only, so that the tool makes the floor's exchanges.
    config::Profile profile;
    profile.ports.fill({QStringLiteral("RS485全双工"), QStringLiteral("57600"), QStringLiteral("7"),
                        QStringLiteral("2"), QStringLiteral("偶校验")});
    profile.output = QStringLiteral("允许");

    const auto write = [&](qint32 baud) {
        profile.mainBaud = QString::number(baud);
        const QString path = runtime.filePath(QStringLiteral("profile-%1.json").arg(baud));
        config::ProfileFile::write(path, profile);
        return path;
    };
    const auto toolArguments = [&](const QString& path, qint32 baud, const QStringList& devices) {
        QStringList arguments{QStringLiteral("write"),    path,
                              QStringLiteral("--verify"), QStringLiteral("--json"),
                              QStringLiteral("-b"),       QString::number(baud)};
        for (const QString& device : devices)
            arguments << QStringLiteral("-p") << device;
        return arguments;
    };

    const double startup = bench::median([&] {
        std::vector<double> walls;
        for (int i = 0; i < runs; ++i)
            walls.push_back(runTool(cli, {QStringLiteral("--version")}, runtime.path()).wallMs);
        return walls;
    }());
    out << "process start-up (expander-cli --version): " << number(startup) << " ms" << Qt::endl;
    out << "result cli_startup_ms " << number(startup) << Qt::endl;

    for (const qint32 baud : {115200, 9600}) {
        const QString path = write(baud);
        const Simulator single(sim, {QStringLiteral("--pace")}, runtime.path());
        if (single.devices().isEmpty())
            return 1;
        const QByteArray portSet = config::PortSetFrame::encode(profile.toConfiguration().value());
        const double floor = bench::median(floorRuns(single.devices(), baud, portSet, runs));
        const double wire = 10.0 * (8 + 34 + 34) * 1000 / baud;
        std::vector<double> units;
        for (int i = 0; i < runs; ++i) {
            const ToolRun run = runTool(cli, toolArguments(path, baud, single.devices()), runtime.path());
            if (!run.passed || run.elapsedMs.empty()) {
                QTextStream(stderr) << "bench-cli: a unit did not pass at " << baud << Qt::endl;
                return 1;
            }
            units.push_back(run.elapsedMs.front());
        }
        const double unit = bench::median(units);
        out << QStringLiteral("unit at %1: connect + write + verify %2 ms; floor %3 ms (wire %4 ms): %5 x")
                   .arg(baud)
                   .arg(number(unit), number(floor), number(wire), number(unit / floor))
            << Qt::endl;
        out << "result cli_unit_" << baud << "_ms " << number(unit) << Qt::endl;
        out << "result cli_floor_" << baud << "_ms " << number(floor) << Qt::endl;
        out << "result cli_unit_" << baud << "_ratio " << number(unit / floor) << Qt::endl;

        const Simulator eight(sim, {QStringLiteral("--pace"), QStringLiteral("--count"), QStringLiteral("8")},
                              runtime.path());
        if (eight.devices().size() != 8)
            return 1;
        std::vector<double> ones;
        std::vector<double> alls;
        for (int i = 0; i < runs; ++i) {
            const ToolRun one =
                runTool(cli, toolArguments(path, baud, {eight.devices().first()}), runtime.path());
            const ToolRun all = runTool(cli, toolArguments(path, baud, eight.devices()), runtime.path());
            if (!one.passed || !all.passed || all.elapsedMs.size() != 8) {
                QTextStream(stderr) << "bench-cli: the batch of 8 did not pass at " << baud << Qt::endl;
                return 1;
            }
            ones.push_back(one.elapsedMs.front());
            alls.push_back(*std::max_element(all.elapsedMs.begin(), all.elapsedMs.end()));
        }
        const double one = bench::median(ones);
        const double all = bench::median(alls);
        // What the simulator allows 8 units at once, whoever the client.
        const double floorOne = bench::median(floorRuns({eight.devices().first()}, baud, portSet, runs));
        const double floorAll = bench::median(floorRuns(eight.devices(), baud, portSet, runs));
        out << QStringLiteral(
                   "8 units at %1: slowest %2 ms; one alone %3 ms: %4 x; the floor of 8 at once %5 ms, "
                   "of one %6 ms: %7 x")
                   .arg(baud)
                   .arg(number(all), number(one), number(all / one), number(floorAll), number(floorOne),
                        number(floorAll / floorOne))
            << Qt::endl;
        out << "result cli_parallel_" << baud << "_ratio " << number(all / one) << Qt::endl;
        out << "result cli_parallel_" << baud << "_floor_ratio " << number(floorAll / floorOne) << Qt::endl;
        out << "result cli_parallel_" << baud << "_ms " << number(all) << Qt::endl;
        out << "result cli_parallel_" << baud << "_floor_ms " << number(floorAll) << Qt::endl;
    }

    // Nothing answers: every reply dropped.
    const Simulator silent(
        sim,
        {QStringLiteral("--count"), QStringLiteral("4"), QStringLiteral("--drop-every"), QStringLiteral("1")},
        runtime.path());
    if (silent.devices().size() != 4)
        return 1;
    double timeouts = 0;
    for (const qint32 baud : device::Scanner::defaultBauds())
        timeouts += device::Connector::searchTiming(baud).answerMs;
    QStringList arguments{QStringLiteral("scan")};
    for (const QString& device : silent.devices())
        arguments << QStringLiteral("-p") << device;
    std::vector<double> scans;
    for (int i = 0; i < std::max(1, runs / 3); ++i)
        scans.push_back(runTool(cli, arguments, runtime.path()).wallMs);
    const double scan = bench::median(scans);
    out << QStringLiteral(
               "scan of 4 silent ports x %1 bauds: %2 ms, process included; one port's time-outs %3 ms: %4 x")
               .arg(device::Scanner::defaultBauds().size())
               .arg(number(scan), number(timeouts), number(scan / timeouts))
        << Qt::endl;
    out << "result cli_scan_ms " << number(scan) << Qt::endl;
    out << "result cli_scan_timeouts_ms " << number(timeouts) << Qt::endl;
    out << "result cli_scan_ratio " << number(scan / timeouts) << Qt::endl;
    return 0;
}
