// SPDX-License-Identifier: MIT
#include "device/Connector.h"

#include <QTimer>

namespace device {

namespace {

constexpr int kConnectExchange = 8; // 40 02 F1 23 and 40 02 E1 23

bool worse(const DeviceFault& fault, const std::optional<DeviceFault>& than) {
    return !than || (than->kind == DeviceFault::Kind::NoAnswer && fault.kind != DeviceFault::Kind::NoAnswer);
}

} // namespace

QList<qint32> Connector::defaultBauds() {
    return {9600, 115200, 19200, 38400, 57600, 4800, 2400, 1200, 14400, 76800};
}

Timing Connector::searchTiming(qint32 baud, const TimingOverrides& overrides) {
    Timing timing = overrides.applyTo(Timing::forBaud(baud, kConnectExchange));
    timing.retries = 0;
    return timing;
}

Connector::Connector(DeviceClient& client, QObject* parent) : QObject(parent), m_client(client) {}

void Connector::start(const QString& port, const QList<qint32>& bauds, const platform::LineSettings& line,
                      const TimingOverrides& overrides, Callback done) {
    m_port = port;
    m_bauds = bauds.isEmpty() ? defaultBauds() : bauds;
    m_line = line;
    m_overrides = overrides;
    m_done = std::move(done);
    m_next = 0;
    m_worst.reset();
    QTimer::singleShot(0, this, [this] { tryNext(); });
}

void Connector::tryNext() {
    const qint32 baud = m_bauds.at(m_next++);
    const bool searching = m_bauds.size() > 1;
    m_client.setTiming(searching ? searchTiming(baud, m_overrides)
                                 : m_overrides.applyTo(Timing::forBaud(baud)));
    platform::LineSettings settings = m_line;
    settings.baud = baud;
    const platform::OpenResult open = m_client.open(m_port, settings);
    if (!open) {
        end(ConnectFault{ConnectFault::Kind::CannotOpen, open.fault(), {}});
        return;
    }
    Q_EMIT opened(baud);
    m_client.send(Request::connect(), this,
                  [this, baud](const DeviceClient::Outcome& outcome) { onAnswer(baud, outcome); });
}

void Connector::onAnswer(qint32 baud, const DeviceClient::Outcome& outcome) {
    if (outcome.ok() && std::holds_alternative<protocol::ConnectConfirmed>(outcome.value())) {
        m_client.setTiming(m_overrides.applyTo(Timing::forBaud(baud)));
        end(baud);
        return;
    }
    const DeviceFault fault = outcome.ok() ? DeviceFault{DeviceFault::Kind::Malformed,
                                                         {},
                                                         Request::connect().expects.value_or(Expectation{}),
                                                         1}
                                           : outcome.fault();
    if (fault.kind == DeviceFault::Kind::PortLost || fault.kind == DeviceFault::Kind::PortNotOpen) {
        end(ConnectFault{ConnectFault::Kind::PortLost, platform::SerialFault::Resource, fault});
        return;
    }
    if (worse(fault, m_worst))
        m_worst = fault;
    if (m_next < m_bauds.size()) {
        Q_EMIT missed(baud);
        tryNext();
        return;
    }
    m_client.close();
    const bool answered = m_worst->kind != DeviceFault::Kind::NoAnswer;
    end(ConnectFault{answered ? ConnectFault::Kind::Malformed : ConnectFault::Kind::NoAnswer,
                     platform::SerialFault::NoError, *m_worst});
}

void Connector::end(const Outcome& outcome) {
    if (m_done)
        m_done(outcome);
}

} // namespace device
