// SPDX-License-Identifier: MIT
#pragma once

#include <QProcess>
#include <QStringList>

#include <array>
#include <vector>

// A running device simulator for end-to-end tests: started with its options in a private
// runtime folder, the port paths of each of its devices read from its first lines of output.
namespace testing {

class SimProcess {
public:
    // Starts `program` with `arguments` (e.g. "--count", "4", "--main-baud", "19200"); false from
    // started() when it did not come up.
    SimProcess(const QString& program, const QStringList& arguments, const QString& runtimeDir);
    ~SimProcess();

    bool started() const { return m_ready; }
    int deviceCount() const { return int(m_devices.size()); }
    // Device 1 .. deviceCount(); without a number, device 1.
    QString devicePath(int device = 1) const { return paths(device).main; }
    QString registeredPath(int device = 1) const { return paths(device).registered; }
    QString extensionPort(int number) const { return extensionPort(1, number); }
    QString extensionPort(int device, int number) const { return paths(device).ports.at(number - 1); }
    qint64 pid() const { return m_process.processId(); }

    // Everything the simulator logged so far.
    QString log();
    // Waits, at most `timeoutMs`, until the log holds `text`.
    bool waitForLog(const QString& text, int timeoutMs = 5000);
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    // SIGUSR1: every device of the simulator goes through a power cycle; true once each has
    // logged it (so not with --quiet).
    bool powerCycle();
    // Ends it with SIGTERM, as a user would.
    void stop();
    // Ends it with SIGKILL: nothing is cleaned up.
    void kill();
    // The process itself, for its exit code and status.
    QProcess& process() { return m_process; }

private:
    struct Paths {
        QString main;
        QString registered;
        std::array<QString, 8> ports;
    };
    const Paths& paths(int device) const;

    QProcess m_process;
    bool m_ready = false;
    std::vector<Paths> m_devices;
    QString m_log;
};

} // namespace testing
