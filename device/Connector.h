// SPDX-License-Identifier: MIT
#pragma once

#include "device/ConnectFault.h"
#include "device/DeviceClient.h"
#include "device/Timing.h"
#include "platform/LineSettings.h"
#include "protocol/Result.h"

#include <QList>
#include <QObject>

#include <functional>

// Connects to the device on one port at the first baud that answers: the search that both a scan
// and every command-line unit make.
namespace device {

// Each baud in turn: open the port at it and send the connect request. With several bauds each
// gets one attempt of Timing::forBaud(baud) for the 8 bytes of the exchange; a single baud gets the
// retries. Once the device answers, the client's timing becomes Timing::forBaud(baud) for the
// requests that follow; `overrides` apply to both. When no baud answers, the worst answer any of
// them drew decides: a device that answers garbled frames is Malformed, not NoAnswer.
class Connector : public QObject {
    Q_OBJECT
public:
    using Outcome = protocol::Result<qint32, ConnectFault>; // the baud that answered
    using Callback = std::function<void(const Outcome&)>;

    // 9600, 115200, 19200, 38400, 57600, 4800, 2400, 1200, 14400, 76800: every entry of the baud
    // list, the usual settings first.
    static QList<qint32> defaultBauds();
    // The timing of one attempt of a search at `baud`: connect's 8 bytes, no retry.
    static Timing searchTiming(qint32 baud, const TimingOverrides& overrides = {});

    // Works through `client`, which it does not own; the port is left open when it connected.
    explicit Connector(DeviceClient& client, QObject* parent = nullptr);

    // `done` gets the outcome once, from the event loop, unless the connector is destroyed first.
    void start(const QString& port, const QList<qint32>& bauds, const platform::LineSettings& line,
               const TimingOverrides& overrides, Callback done);
    // Bauds tried so far.
    int tried() const { return m_next; }

Q_SIGNALS:
    // The port is open at `baud`; the connect request goes out next.
    void opened(qint32 baud);
    // A baud was tried and did not answer; another one follows unless it was the last.
    void missed(qint32 baud);

private:
    void tryNext();
    void onAnswer(qint32 baud, const DeviceClient::Outcome& outcome);
    void end(const Outcome& outcome);

    DeviceClient& m_client;
    QString m_port;
    QList<qint32> m_bauds;
    platform::LineSettings m_line;
    TimingOverrides m_overrides;
    Callback m_done;
    int m_next = 0;
    std::optional<DeviceFault> m_worst;
};

} // namespace device
