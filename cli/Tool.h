// SPDX-License-Identifier: MIT
#pragma once

#include "cli/Invocation.h"
#include "cli/UnitReport.h"
#include "cli/UnitSession.h"
#include "cli/UnitsFile.h"
#include "device/Scanner.h"
#include "platform/SerialControl.h"

#include <QElapsedTimer>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Carries out one invocation: checks every input before any port is opened, runs the units side by
// side on the one event loop (a session per port), then prints and records what came of each.
namespace cli {

class Tool : public QObject {
    Q_OBJECT
public:
    // What the tool needs of the outside world: the real ports and streams in the program.
    struct Environment {
        std::function<std::unique_ptr<platform::SerialControl>()> makeSerial;
        std::function<QStringList()> listPorts;
        std::function<void(const QString&)> out;
        std::function<void(const QString&)> err;
    };

    Tool(Invocation invocation, Environment environment, QObject* parent = nullptr);
    ~Tool() override;

    // Starts the work; finished() comes from the event loop, once, with the exit code.
    void start();

Q_SIGNALS:
    void finished(int exitCode);

private:
    struct Unit {
        QString port;
        QList<qint32> bauds;
    };

    bool prepare();
    bool openResults();
    // Appends `rows` to the results file under its lock, the header first when the file is new.
    bool appendResults(const QString& rows, QString& problem);
    // The ports --include and --exclude leave.
    QStringList chosen(const QStringList& ports) const;
    // Whether `found` units meet --expect; ends the run when they do not.
    bool expected(int found, int inUse);
    void dryRun(const std::vector<Unit>& units, const std::vector<NetworkValues>& values);
    std::optional<std::vector<NetworkValues>> assign(const QStringList& ports);
    void scan(const QStringList& ports, std::function<void(const QList<device::ScanResult>&)> then);
    void reportScan(const QList<device::ScanResult>& results);
    void runBatch(const std::vector<Unit>& units);
    void onUnitFinished();
    void report();
    bool record();
    void refuse(const QString& message);
    void end(ExitCode code);
    void trace(const QString& port, device::DeviceClient::Traffic kind, const QByteArray& bytes);

    Invocation m_invocation;
    Environment m_env;
    std::optional<config::Profile> m_profile;
    UnitsFile m_units;
    NetworkValues m_base; // the profile's or the command line's network values
    QString m_baseName;
    std::unique_ptr<device::Scanner> m_scanner;
    QElapsedTimer m_scanClock;
    std::vector<std::unique_ptr<UnitSession>> m_sessions;
    std::vector<UnitReport> m_reports;
    int m_running = 0;
    bool m_ended = false;
};

} // namespace cli
