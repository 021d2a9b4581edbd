// SPDX-License-Identifier: MIT
#pragma once

#include <QProcess>
#include <QStringList>

#include <array>
#include <vector>

namespace testing {

// A running device simulator, started with its options in a private runtime folder; each device's
// port paths are read from its first lines of output. Device numbers count from 1.
class SimProcess {
public:
    SimProcess(const QString& program, const QStringList& arguments, const QString& runtimeDir);
    ~SimProcess() { stop(); }

    bool started() const { return m_ready; } // false when it did not come up
    int deviceCount() const { return int(m_devices.size()); }
    QString devicePath(int device = 1) const { return paths(device).main; }
    QString registeredPath(int device = 1) const { return paths(device).registered; }
    QString extensionPort(int number) const { return paths(1).ports.at(number - 1); }
    qint64 pid() const { return m_process.processId(); }
    QProcess& process() { return m_process; }

    QString log(); // everything it logged so far
    // Waits, at most `timeoutMs`, until the log holds `text` `times` times.
    bool waitForLog(const QString& text, qsizetype times = 1, int timeoutMs = 5000);
    // SIGUSR1: every device goes through a power cycle; true once each has logged it.
    bool powerCycle();
    void stop(); // SIGTERM, as a user would
    void kill(); // SIGKILL: nothing is cleaned up

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
