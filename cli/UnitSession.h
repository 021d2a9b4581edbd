// SPDX-License-Identifier: MIT
#pragma once

#include "cli/Invocation.h"
#include "cli/NetworkValues.h"
#include "cli/UnitReport.h"
#include "device/Connector.h"
#include "device/DeviceClient.h"
#include "platform/SerialControl.h"

#include <QElapsedTimer>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>

// One unit of a batch: connects to the device on one port, trying the bauds in turn, carries out
// the command, and reports what came of it.
namespace cli {

class UnitSession : public QObject {
    Q_OBJECT
public:
    // Everything the unit needs, checked before any port is opened.
    struct Plan {
        Invocation::Command command = Invocation::Command::Read;
        QString port;
        QList<qint32> bauds; // at least one; with several, each gets one connect attempt
        device::TimingOverrides timing;
        bool verify = false;
        std::optional<config::Profile> profile; // write: ports and main port; its network is ignored
        NetworkValues network;                  // write, network write: the unit's own values
        int forwardPort = 0;
        QByteArray forwardData;
    };

    UnitSession(Plan plan, std::unique_ptr<platform::SerialControl> serial, QObject* parent = nullptr);
    ~UnitSession() override;

    // Starts the work; finished() comes from the event loop, once.
    void start();
    const UnitReport& report() const { return m_report; }

Q_SIGNALS:
    void finished();
    // Every frame, as the client reports it, and notes such as the baud a port is opened at.
    void traffic(const QString& port, device::DeviceClient::Traffic kind, const QByteArray& bytes);
    void note(const QString& port, const QString& text);

private:
    template <typename Reply> using Then = std::function<void(const Reply&)>;

    void connected(const device::Connector::Outcome& outcome);
    void run();
    void writeNetwork(const protocol::NetworkParameters& octets, std::function<void()> then);
    void withNetworkBase(std::function<void(const protocol::NetworkParameters&)> then);
    void verifyPorts();
    void compare(const config::Profile& expected, const config::Profile& actual);
    template <typename Reply> void ask(const device::Request& request, Then<Reply> then);
    void fail(Verdict verdict, const QString& message);
    void finish();

    Plan m_plan;
    std::unique_ptr<platform::SerialControl> m_serial; // declared before the client, which uses it
    device::DeviceClient m_client;
    device::Connector m_connector{m_client};
    UnitReport m_report;
    QElapsedTimer m_clock;
    bool m_done = false;
};

} // namespace cli
