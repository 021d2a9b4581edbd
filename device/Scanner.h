// SPDX-License-Identifier: MIT
#pragma once

#include "device/ConnectFault.h"
#include "device/Connector.h"
#include "device/DeviceClient.h"
#include "device/Timing.h"
#include "platform/LineSettings.h"
#include "platform/SerialControl.h"
#include "protocol/Reply.h"
#include "protocol/Result.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Finds expanders: connects on every port at the first main-port baud rate that answers, and reads
// the network parameters of each device found so that boxes on one bench can be told apart.
namespace device {

// A device that answered.
struct FoundDevice {
    qint32 baud = 0;
    std::optional<protocol::NetworkParameters> network; // none when the device did not give them

    bool operator==(const FoundDevice&) const = default;
};

// What a scan found out about one port.
struct ScanResult {
    QString port;
    protocol::Result<FoundDevice, ConnectFault> outcome = ConnectFault{ConnectFault::Kind::Cancelled, {}, {}};

    bool operator==(const ScanResult&) const = default;
};

struct ScanOptions {
    QStringList ports;
    QList<qint32> bauds;         // empty: Connector::defaultBauds()
    QStringList inUse;           // ports the caller has open (the window's port): never touched
    platform::LineSettings line; // data bits, parity, stop bits; the baud is each of `bauds`
    TimingOverrides timing;      // by default Connector::searchTiming(baud) per attempt
};

// The ports are scanned side by side, each one's bauds in turn, so that a scan of any number of
// ports with nothing answering takes one port's bauds times the time-out. Every port is closed once
// its scan ends.
class Scanner : public QObject {
    Q_OBJECT
public:
    // Makes the serial control for one port: the real one in the program, a fake in tests.
    using SerialFactory = std::function<std::unique_ptr<platform::SerialControl>(const QString& portName)>;

    static QList<qint32> defaultBauds() { return Connector::defaultBauds(); }

    explicit Scanner(SerialFactory factory, QObject* parent = nullptr);
    ~Scanner() override;

    // Starts a scan, cancelling one that runs. Signals come from the event loop, never from here.
    void start(const ScanOptions& options);
    // Closes every port the scan has open, at once, and emits finished() at once: ports not done
    // are Cancelled.
    void cancel();
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    // Attempts made so far of those the scan will make; the total drops when a port stops early.
    void progress(int done, int total);
    // A device answered at `baud`; its network parameters are being read.
    void found(const QString& port, qint32 baud);
    void cannotOpen(const QString& port, platform::SerialFault error);
    void skipped(const QString& port);
    // One result per port, in the order given.
    void finished(const QList<device::ScanResult>& results);
    // Every port's traffic, as DeviceClient::traffic reports it.
    void traffic(const QString& port, device::DeviceClient::Traffic kind, const QByteArray& bytes);

private:
    struct PortScan;

    void onConnected(int index, const Connector::Outcome& outcome);
    void complete(int index, const ScanResult& result);
    void finishIfDone();

    SerialFactory m_factory;
    ScanOptions m_options;
    std::vector<std::unique_ptr<PortScan>> m_scans;
    QList<ScanResult> m_results;
    int m_done = 0;
    int m_total = 0;
    bool m_running = false;
    quint64 m_generation = 0; // answers from an earlier scan are ignored
};

} // namespace device
