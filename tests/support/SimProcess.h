#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <array>
#include <memory>

// A running device simulator for end-to-end tests: started with its options in a private
// runtime folder, its port paths read from its first lines of output.
namespace testing {

class SimProcess {
public:
    // Starts `program` with `arguments`; false from started() when it did not come up.
    SimProcess(const QString& program, const QStringList& arguments, const QString& runtimeDir);
    ~SimProcess();

    bool started() const { return m_ready; }
    QString devicePath() const { return m_device; }
    QString registeredPath() const { return m_registered; }
    QString extensionPort(int number) const { return m_ports.at(number - 1); }
    // Everything the simulator logged so far.
    QString log();
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    void stop();
    // Ends it with SIGKILL: nothing is cleaned up.
    void kill();

private:
    QProcess m_process;
    bool m_ready = false;
    QString m_device;
    QString m_registered;
    std::array<QString, 8> m_ports;
    QString m_log;
};

} // namespace testing
