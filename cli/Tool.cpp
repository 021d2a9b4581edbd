// SPDX-License-Identifier: MIT
#include "cli/Tool.h"

#include "cli/CommandLine.h"
#include "cli/Csv.h"
#include "cli/Ledger.h"
#include "cli/Output.h"
#include "config/Describe.h"
#include "config/ProfileFile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QTimer>

namespace cli {

namespace {

using Command = Invocation::Command;

// Another program holds the port: listed by a scan and counted against --expect.
bool heldElsewhere(const device::ConnectFault& fault) {
    return fault.kind == device::ConnectFault::Kind::CannotOpen &&
           fault.error == platform::SerialFault::InUse;
}

bool matchesAny(const QString& port, const QStringList& patterns) {
    for (const QString& pattern : patterns) {
        const QRegularExpression expression(QRegularExpression::wildcardToRegularExpression(pattern));
        if (expression.match(port).hasMatch() || expression.match(QFileInfo(port).fileName()).hasMatch())
            return true;
    }
    return false;
}

// The device a port name stands for: a link's target, so that two names of one device meet.
QString resolved(const QString& port) {
    const QString target = QFileInfo(port).canonicalFilePath();
    return target.isEmpty() ? port : target;
}

// "mac=… ip=…": the fields given.
QString givenFields(const NetworkValues& values) {
    const protocol::NetworkParameters octets = values.applyTo({});
    QStringList parts;
    if (values.mac)
        parts.append(QStringLiteral("mac=") + config::describe::macAddress(octets));
    if (values.ip)
        parts.append(QStringLiteral("ip=") + config::describe::dottedQuad(octets, 6));
    if (values.mask)
        parts.append(QStringLiteral("mask=") + config::describe::dottedQuad(octets, 10));
    if (values.gateway)
        parts.append(QStringLiteral("gateway=") + config::describe::dottedQuad(octets, 14));
    return parts.join(QLatin1Char(' '));
}

// Beside the results file: several runs on one line may make it at the same moment.
constexpr int kResultsLockWaitMs = 10000;
constexpr qint64 kResultsRoom = 64 * 1024; // free bytes a batch's rows need, with room to spare

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
            scan(chosen(ports), [this](const QList<device::ScanResult>& results) { reportScan(results); });
            return;
        }
        if (m_invocation.allPorts) {
            if (!openResults()) // checked before the scan too; the units' values after it
                return;
            scan(chosen(m_env.listPorts()), [this](const QList<device::ScanResult>& results) {
                std::vector<Unit> units;
                QList<Verdict> faults{Verdict::NoAnswer};
                int inUse = 0;
                for (const device::ScanResult& result : results) {
                    if (const device::FoundDevice* found = result.outcome.valueIf()) {
                        units.push_back({result.port, {found->baud}});
                        continue;
                    }
                    const device::ConnectFault& fault = result.outcome.fault();
                    faults.append(verdictOf(fault.kind));
                    if (heldElsewhere(fault)) {
                        ++inUse;
                        m_env.err(QStringLiteral("%1: %2: %3\n")
                                      .arg(CommandLine::Program, result.port,
                                           connectFailure(result.port, fault, m_invocation.bauds)));
                    }
                }
                if (!expected(int(units.size()), inUse))
                    return;
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
        for (qsizetype i = 0; i < ports.size(); ++i)
            for (qsizetype j = 0; j < i; ++j)
                if (resolved(ports[i]) == resolved(ports[j])) {
                    refuse(QStringLiteral("%1 and %2 are the same device, %3")
                               .arg(ports[j], ports[i], resolved(ports[i])));
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
        if (m_invocation.noNetwork)
            m_profile->network.reset();
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
    // Checked before the units start, so that a file that cannot be written stops the run before
    // anything is written to a device.
    const QString& path = m_invocation.resultsPath;
    const QFileInfo info(path);
    if (info.isSymLink()) {
        refuse(path + QStringLiteral(": is a symbolic link; name the file itself"));
        return false;
    }
    if (info.exists() && !info.isFile()) {
        refuse(path + QStringLiteral(": is not a regular file"));
        return false;
    }
    const QStorageInfo storage(info.absolutePath());
    if (storage.isValid() && storage.bytesAvailable() >= 0 && storage.bytesAvailable() < kResultsRoom) {
        refuse(path + QStringLiteral(": cannot be written: the disk holding it has %1 bytes free")
                          .arg(storage.bytesAvailable()));
        return false;
    }
    QString problem;
    if (!appendResults({}, problem)) {
        refuse(path + QStringLiteral(": cannot be written: ") + problem);
        return false;
    }
    return true;
}

bool Tool::appendResults(const QString& rows, QString& problem) {
    QLockFile lock(m_invocation.resultsPath + QStringLiteral(".lock"));
    lock.setStaleLockTime(0); // stale only when its process is gone
    if (!lock.tryLock(kResultsLockWaitMs)) {
        problem = QStringLiteral("its lock %1.lock is held or cannot be made").arg(m_invocation.resultsPath);
        return false;
    }
    QFile file(m_invocation.resultsPath);
    const bool fresh = !file.exists() || file.size() == 0;
    QByteArray bytes;
    if (fresh)
        bytes = (m_invocation.bom ? QStringLiteral("\uFEFF") : QString()).toUtf8() +
                csv::row(output::resultsHeader()).toUtf8();
    bytes += rows.toUtf8();
    if (file.open(QIODevice::WriteOnly | QIODevice::Append) && file.write(bytes) == bytes.size() &&
        file.flush())
        return true;
    problem = file.errorString();
    return false;
}

std::optional<std::vector<NetworkValues>> Tool::assign(const QStringList& ports) {
    const bool writesNetwork =
        m_invocation.command == Command::Write || m_invocation.command == Command::NetworkWrite;
    if (!writesNetwork || m_invocation.noNetwork)
        return std::vector<NetworkValues>(size_t(ports.size()));
    std::optional<Ledger> ledger;
    if (!m_invocation.ledgerPath.isEmpty()) {
        ledger.emplace(m_invocation.ledgerPath);
        if (const auto opened = ledger->open(); !opened) {
            refuse(opened.fault());
            return std::nullopt;
        }
        m_units.continueAfter(ledger->lastIp(), ledger->lastMac());
    }
    auto values = m_units.assign(ports, m_base, m_baseName);
    if (!values) {
        refuse(values.fault().message());
        return std::nullopt;
    }
    if (ledger) {
        // Recorded before anything is sent: an address whose unit fails is not handed out again.
        const QStringList counted = m_units.countedPorts(ports);
        std::vector<NetworkValues> countedValues;
        for (const QString& port : counted)
            countedValues.push_back(values.value()[size_t(ports.indexOf(port))]);
        if (const auto taken = ledger->taken(counted, countedValues)) {
            refuse(*taken);
            return std::nullopt;
        }
        if (m_invocation.dryRun)
            return values.value(); // shown, not handed out
        if (const auto appended = ledger->append(counted, countedValues); !appended) {
            refuse(appended.fault());
            return std::nullopt;
        }
    }
    return values.value();
}

QStringList Tool::chosen(const QStringList& ports) const {
    QStringList out;
    for (const QString& port : ports)
        if ((m_invocation.include.isEmpty() || matchesAny(port, m_invocation.include)) &&
            !matchesAny(port, m_invocation.exclude))
            out.append(port);
    return out;
}

bool Tool::expected(int found, int inUse) {
    if (!m_invocation.expect || (found == *m_invocation.expect && inUse == 0))
        return true;
    m_env.err(QStringLiteral("%1: found %2 unit(s), expected %3%4\n")
                  .arg(CommandLine::Program)
                  .arg(found)
                  .arg(*m_invocation.expect)
                  .arg(inUse > 0 ? QStringLiteral("; %1 port(s) in use").arg(inUse) : QString()));
    end(ExitCode::Unexpected);
    return false;
}

void Tool::dryRun(const std::vector<Unit>& units, const std::vector<NetworkValues>& values) {
    for (size_t i = 0; i < units.size(); ++i) {
        QString plan;
        switch (m_invocation.command) {
        case Command::Write:
            plan = QStringLiteral("ports and main port of %1").arg(m_invocation.profilePath);
            if (!values[i].isEmpty())
                plan += QStringLiteral("; network ") + givenFields(values[i]);
            break;
        case Command::NetworkWrite:
            plan = QStringLiteral("network ") + givenFields(values[i]);
            break;
        case Command::Restore:
            plan = QStringLiteral("factory settings");
            break;
        case Command::Forward:
            plan = QStringLiteral("%1 bytes out of port %2")
                       .arg(m_invocation.forwardData.size())
                       .arg(m_invocation.forwardPort);
            break;
        default:
            plan = QStringLiteral("a read");
            break;
        }
        m_env.out(QStringLiteral("%1  would get %2\n").arg(units[i].port, plan));
    }
    m_env.out(QStringLiteral("dry run: nothing was sent\n"));
    end(ExitCode::Passed);
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
            const device::ConnectFault& fault = result.outcome.fault();
            report.verdict = verdictOf(fault.kind);
            report.message = connectFailure(result.port, fault,
                                            m_invocation.bauds.isEmpty() ? device::Scanner::defaultBauds()
                                                                         : m_invocation.bauds);
            report.inUse = heldElsewhere(fault);
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
    int found = 0;
    int inUse = 0;
    for (const UnitReport& report : m_reports) {
        found += report.verdict == Verdict::Passed ? 1 : 0;
        inUse += report.inUse ? 1 : 0;
    }
    if (!expected(found, inUse))
        return;
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
    if (!values)
        return;
    if (m_invocation.dryRun) {
        dryRun(units, *values);
        return;
    }
    if (!openResults())
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
        if (m_invocation.json) // each line as its unit finishes, for a script that follows the batch
            connect(session.get(), &UnitSession::finished, this,
                    [this, unit = session.get()] { m_env.out(output::jsonLine(unit->report())); });
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
    if (m_invocation.json)
        return; // printed as each unit finished
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
    QString problem;
    if (appendResults(rows, problem))
        return true;
    m_env.err(QStringLiteral("%1: %2: cannot be written: %3\n")
                  .arg(CommandLine::Program, m_invocation.resultsPath, problem));
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
