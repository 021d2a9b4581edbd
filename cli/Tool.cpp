// SPDX-License-Identifier: MIT
#include "cli/Tool.h"

#include "cli/CommandLine.h"
#include "cli/Csv.h"
#include "cli/Output.h"
#include "config/ProfileFile.h"

#include <QDateTime>
#include <QFile>
#include <QTimer>

namespace cli {

namespace {

using Command = Invocation::Command;

} // namespace

Tool::Tool(Invocation invocation, Environment environment, QObject* parent)
    : QObject(parent), m_invocation(std::move(invocation)), m_env(std::move(environment)) {}

Tool::~Tool() = default;

void Tool::start() {
    QTimer::singleShot(0, this, [this] {
        if (m_invocation.command == Command::Ports) {
            for (const QString& port : m_env.listPorts())
                m_env.out(port + QLatin1Char('\n'));
            end(ExitCode::Passed);
            return;
        }
        if (!prepare())
            return;
        if (m_invocation.command == Command::Scan) {
            const QStringList ports = m_invocation.ports.isEmpty() ? m_env.listPorts() : m_invocation.ports;
            scan(ports, [this](const QList<device::ScanResult>& results) { reportScan(results); });
            return;
        }
        if (m_invocation.allPorts) {
            if (!openResults()) // checked before the scan too; the units' values after it
                return;
            scan(m_env.listPorts(), [this](const QList<device::ScanResult>& results) {
                std::vector<Unit> units;
                QList<Verdict> faults{Verdict::NoAnswer};
                for (const device::ScanResult& result : results)
                    if (const device::FoundDevice* found = result.outcome.valueIf())
                        units.push_back({result.port, {found->baud}});
                    else
                        faults.append(verdictOf(result.outcome.fault().kind));
                if (units.empty()) {
                    m_env.err(QStringLiteral("%1: no expander answered on %2 port(s)\n")
                                  .arg(CommandLine::Program)
                                  .arg(results.size()));
                    end(worst(faults));
                    return;
                }
                runBatch(units);
            });
            return;
        }
        QStringList ports = m_invocation.ports;
        if (ports.isEmpty())
            ports = m_units.ports();
        if (ports.isEmpty()) {
            refuse(QStringLiteral("%1: the units file names no port; use --port P or --all")
                       .arg(m_invocation.unitsPath));
            return;
        }
        std::vector<Unit> units;
        for (const QString& port : ports)
            units.push_back(
                {port, m_invocation.bauds.isEmpty() ? device::Scanner::defaultBauds() : m_invocation.bauds});
        runBatch(units);
    });
}

bool Tool::prepare() {
    if (m_invocation.command == Command::Write) {
        const auto profile = config::ProfileFile::read(m_invocation.profilePath);
        if (!profile) {
            refuse(profile.fault().message());
            return false;
        }
        if (const auto codes = profile.value().toConfiguration(); !codes) {
            refuse(m_invocation.profilePath + QStringLiteral(": ") + codes.fault().message());
            return false;
        }
        m_profile = profile.value();
        if (m_profile->network)
            m_base = NetworkValues::of(*m_profile->network);
        m_baseName = m_invocation.profilePath + QStringLiteral(": network");
    } else if (m_invocation.command == Command::NetworkWrite) {
        m_base = m_invocation.network;
        m_baseName = QStringLiteral("the command line");
    }
    if (!m_invocation.unitsPath.isEmpty()) {
        const auto units = UnitsFile::read(m_invocation.unitsPath);
        if (!units) {
            refuse(units.fault().message());
            return false;
        }
        m_units = units.value();
    }
    return true;
}

bool Tool::openResults() {
    if (m_invocation.resultsPath.isEmpty())
        return true;
    // Opened before the units start, so that a file that cannot be written stops the run before
    // anything is written to a device.
    QFile file(m_invocation.resultsPath);
    const bool fresh = !file.exists() || file.size() == 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) ||
        (fresh && file.write(csv::row(output::resultsHeader()).toUtf8()) < 0)) {
        refuse(m_invocation.resultsPath + QStringLiteral(": cannot be written: ") + file.errorString());
        return false;
    }
    return true;
}

std::optional<std::vector<NetworkValues>> Tool::assign(const QStringList& ports) {
    const bool writesNetwork =
        m_invocation.command == Command::Write || m_invocation.command == Command::NetworkWrite;
    if (!writesNetwork)
        return std::vector<NetworkValues>(size_t(ports.size()));
    auto values = m_units.assign(ports, m_base, m_baseName);
    if (!values) {
        refuse(values.fault().message());
        return std::nullopt;
    }
    return values.value();
}

void Tool::scan(const QStringList& ports, std::function<void(const QList<device::ScanResult>&)> then) {
    m_scanner = std::make_unique<device::Scanner>([this](const QString&) { return m_env.makeSerial(); });
    if (m_invocation.trace)
        connect(m_scanner.get(), &device::Scanner::traffic, this, &Tool::trace);
    connect(m_scanner.get(), &device::Scanner::finished, this, std::move(then));
    device::ScanOptions options;
    options.ports = ports;
    options.bauds = m_invocation.bauds;
    options.timing = m_invocation.timing;
    m_scanClock.start();
    m_scanner->start(options);
}

void Tool::reportScan(const QList<device::ScanResult>& results) {
    bool anyFound = false;
    QList<Verdict> verdicts;
    for (const device::ScanResult& result : results) {
        UnitReport report;
        report.command = CommandLine::name(Command::Scan);
        report.port = result.port;
        if (const device::FoundDevice* found = result.outcome.valueIf()) {
            report.baud = found->baud;
            report.networkRead = found->network;
        } else {
            report.verdict = verdictOf(result.outcome.fault().kind);
            report.message = connectFailure(result.outcome.fault(), m_invocation.bauds.isEmpty()
                                                                        ? device::Scanner::defaultBauds()
                                                                        : m_invocation.bauds);
        }
        report.elapsedMs = (m_scanClock.nsecsElapsed() + 500000) / 1000000;
        anyFound = anyFound || report.verdict == Verdict::Passed;
        verdicts.append(report.verdict);
        m_reports.push_back(report);
    }
    if (m_invocation.json) {
        for (const UnitReport& report : m_reports)
            m_env.out(output::jsonLine(report));
    } else {
        m_env.out(output::found(m_reports));
        for (const UnitReport& report : m_reports)
            if (report.verdict == Verdict::CannotOpen)
                m_env.err(
                    QStringLiteral("%1: %2: %3\n").arg(CommandLine::Program, report.port, report.message));
        if (!anyFound)
            m_env.err(QStringLiteral("%1: no expander answered on %2 port(s)\n")
                          .arg(CommandLine::Program)
                          .arg(results.size()));
    }
    if (results.isEmpty())
        end(ExitCode::NoAnswer);
    else
        end(anyFound ? ExitCode::Passed : worst(verdicts));
}

void Tool::runBatch(const std::vector<Unit>& units) {
    const std::optional<std::vector<NetworkValues>> values = assign([&] {
        QStringList ports;
        for (const Unit& unit : units)
            ports.append(unit.port);
        return ports;
    }());
    if (!values || !openResults())
        return;
    for (size_t i = 0; i < units.size(); ++i) {
        UnitSession::Plan plan;
        plan.command = m_invocation.command;
        plan.port = units[i].port;
        plan.bauds = units[i].bauds;
        plan.timing = m_invocation.timing;
        plan.verify = m_invocation.verify;
        plan.profile = m_profile;
        plan.network = (*values)[i];
        plan.forwardPort = m_invocation.forwardPort;
        plan.forwardData = m_invocation.forwardData;
        auto session = std::make_unique<UnitSession>(std::move(plan), m_env.makeSerial());
        connect(session.get(), &UnitSession::finished, this, &Tool::onUnitFinished);
        if (m_invocation.trace) {
            connect(session.get(), &UnitSession::traffic, this, &Tool::trace);
            connect(session.get(), &UnitSession::note, this,
                    [this](const QString& port, const QString& text) {
                        m_env.err(output::traceNote(QTime::currentTime(), port, text));
                    });
        }
        m_sessions.push_back(std::move(session));
    }
    m_running = int(m_sessions.size());
    for (const auto& session : m_sessions)
        session->start();
}

void Tool::onUnitFinished() {
    if (--m_running > 0)
        return;
    for (const auto& session : m_sessions)
        m_reports.push_back(session->report());
    report();
    QList<Verdict> verdicts;
    for (const UnitReport& unit : m_reports)
        verdicts.append(unit.verdict);
    const ExitCode code = worst(verdicts);
    end(record() ? code : ExitCode::NotRecorded);
}

void Tool::report() {
    if (m_invocation.json) {
        for (const UnitReport& unit : m_reports)
            m_env.out(output::jsonLine(unit));
        return;
    }
    if (m_invocation.command != Command::Read) {
        m_env.out(output::table(m_reports));
        return;
    }
    m_env.out(output::profiles(m_reports));
    for (const UnitReport& unit : m_reports)
        if (unit.verdict != Verdict::Passed)
            m_env.err(QStringLiteral("%1: %2: %3\n").arg(CommandLine::Program, unit.port, unit.message));
}

bool Tool::record() {
    if (m_invocation.resultsPath.isEmpty())
        return true;
    QString rows;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const UnitReport& unit : m_reports)
        rows += csv::row(output::resultsRow(unit, now));
    QFile file(m_invocation.resultsPath);
    const QByteArray bytes = rows.toUtf8();
    if (file.open(QIODevice::WriteOnly | QIODevice::Append) && file.write(bytes) == bytes.size() &&
        file.flush())
        return true;
    m_env.err(QStringLiteral("%1: %2: cannot be written: %3\n")
                  .arg(CommandLine::Program, m_invocation.resultsPath, file.errorString()));
    return false;
}

void Tool::refuse(const QString& message) {
    m_env.err(QStringLiteral("%1: %2\n").arg(CommandLine::Program, message));
    end(ExitCode::BadInput);
}

void Tool::end(ExitCode code) {
    if (m_ended)
        return;
    m_ended = true;
    Q_EMIT finished(int(code));
}

void Tool::trace(const QString& port, device::DeviceClient::Traffic kind, const QByteArray& bytes) {
    m_env.err(output::traceLine(QTime::currentTime(), port, kind, bytes));
}

} // namespace cli
