// SPDX-License-Identifier: MIT
#pragma once

#include "device/DeviceClient.h"
#include "device/Timing.h"
#include "platform/LineSettings.h"
#include "platform/SerialControl.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Finds expanders: sends the connect request on every port at every main-port baud rate until one
// answers.
namespace device {

// What a scan found out about one port.
struct ScanResult {
    enum class Status {
        Found,      // the device answered at `baud`
        NotFound,   // no baud drew the connect reply
        CannotOpen, // the port could not be opened (`error` says why) or was lost; skipped
        Skipped,    // the caller has the port in use
        Cancelled,  // the scan was cancelled before this port was done
    };
    QString port;
    Status status = Status::NotFound;
    qint32 baud = 0;
    platform::SerialError error = platform::SerialError::NoError;

    bool operator==(const ScanResult&) const = default;
};

struct ScanOptions {
    QStringList ports;
    QList<qint32> bauds;          // empty: every main-port baud rate, most likely first
    QStringList inUse;            // ports the caller has open (the window's port): never touched
    platform::LineSettings line;  // data bits, parity, stop bits; the baud is each of `bauds`
    std::optional<Timing> timing; // per attempt; by default Scanner::attemptTiming(baud)
};

// The ports are scanned side by side, each one's bauds in turn, so that a scan of any number of
// ports with nothing answering takes one port's bauds times the time-out. A port stops at the first
// baud that answers E1. Every port is closed once its scan ends.
class Scanner : public QObject {
    Q_OBJECT
public:
    // Makes the serial control for one port: the real one in the program, a fake in tests.
    using SerialFactory = std::function<std::unique_ptr<platform::SerialControl>(const QString& portName)>;

    // 9600, 115200, 19200, 38400, 57600, 4800, 2400, 1200, 14400, 76800: every entry of the baud
    // list, the usual settings first.
    static QList<qint32> defaultBauds();
    // The timing of one attempt unless the options give one: Timing::forBaud(baud) for the 8 bytes
    // of the connect request and its answer, without retries.
    static Timing attemptTiming(qint32 baud);

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
    void found(const QString& port, qint32 baud);
    void cannotOpen(const QString& port, platform::SerialError error);
    void skipped(const QString& port);
    // One result per port, in the order given.
    void finished(const QList<device::ScanResult>& results);
    // Every port's traffic, as DeviceClient::traffic reports it.
    void traffic(const QString& port, device::DeviceClient::Traffic kind, const QByteArray& bytes);

private:
    struct PortScan;

    void tryNext(int index);
    void onAnswer(int index, qint32 baud, const DeviceClient::Outcome& outcome);
    void complete(int index, ScanResult result, int attemptsLeft);
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
