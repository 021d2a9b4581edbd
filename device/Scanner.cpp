// SPDX-License-Identifier: MIT
#include "device/Scanner.h"

namespace device {

namespace {

constexpr int kConnectExchange = 8; // 40 02 F1 23 and 40 02 E1 23

} // namespace

struct Scanner::PortScan {
    QString name;
    std::unique_ptr<platform::SerialControl> serial; // declared first: outlives the client
    std::unique_ptr<DeviceClient> client;
    int nextBaud = 0;
    bool done = false;
};

QList<qint32> Scanner::defaultBauds() {
    return {9600, 115200, 19200, 38400, 57600, 4800, 2400, 1200, 14400, 76800};
}

Timing Scanner::attemptTiming(qint32 baud) {
    Timing timing = Timing::forBaud(baud, kConnectExchange);
    timing.retries = 0;
    return timing;
}

Scanner::Scanner(SerialFactory factory, QObject* parent) : QObject(parent), m_factory(std::move(factory)) {}

Scanner::~Scanner() {
    ++m_generation;
    m_scans.clear();
}

void Scanner::start(const ScanOptions& options) {
    if (m_running)
        cancel();
    ++m_generation;
    m_scans.clear();
    m_results.clear();
    m_options = options;
    if (m_options.bauds.isEmpty())
        m_options.bauds = defaultBauds();
    m_running = true;
    m_done = 0;
    m_total = 0;

    const quint64 generation = m_generation;
    for (const QString& name : m_options.ports) {
        const int index = int(m_scans.size());
        auto scan = std::make_unique<PortScan>();
        scan->name = name;
        m_results.append({name, ScanResult::Status::Cancelled});
        const bool repeated = m_options.ports.indexOf(name) < index;
        if (m_options.inUse.contains(name) || repeated) {
            scan->done = true;
            m_results[index].status = ScanResult::Status::Skipped;
            QTimer::singleShot(0, this, [this, generation, name] {
                if (generation == m_generation)
                    Q_EMIT skipped(name);
            });
        } else {
            scan->serial = m_factory(name);
            if (scan->serial) {
                scan->client = std::make_unique<DeviceClient>(*scan->serial);
                connect(scan->client.get(), &DeviceClient::traffic, this,
                        [this, name](DeviceClient::Traffic kind, const QByteArray& bytes) {
                            Q_EMIT traffic(name, kind, bytes);
                        });
            }
            m_total += int(m_options.bauds.size());
        }
        m_scans.push_back(std::move(scan));
    }
    // The first attempts go out from the event loop, so that every signal comes from there.
    QTimer::singleShot(0, this, [this, generation] {
        if (generation != m_generation)
            return;
        Q_EMIT progress(m_done, m_total);
        for (int i = 0; i < int(m_scans.size()); ++i)
            if (!m_scans[i]->done)
                tryNext(i);
        finishIfDone();
    });
}

void Scanner::tryNext(int index) {
    PortScan& scan = *m_scans[index];
    const int left = int(m_options.bauds.size()) - scan.nextBaud;
    if (left == 0) {
        complete(index, {scan.name, ScanResult::Status::NotFound}, 0);
        return;
    }
    if (!scan.client) {
        Q_EMIT cannotOpen(scan.name, platform::SerialError::Other);
        complete(index, {scan.name, ScanResult::Status::CannotOpen, 0, platform::SerialError::Other}, left);
        return;
    }
    const qint32 baud = m_options.bauds.at(scan.nextBaud++);
    scan.client->setTiming(m_options.timing.value_or(attemptTiming(baud)));
    platform::LineSettings settings = m_options.line;
    settings.baud = baud;
    const platform::OpenResult opened = scan.client->open(scan.name, settings);
    if (!opened) {
        Q_EMIT cannotOpen(scan.name, opened.fault());
        complete(index, {scan.name, ScanResult::Status::CannotOpen, 0, opened.fault()}, left);
        return;
    }
    const quint64 generation = m_generation;
    scan.client->send(Request::connect(), this,
                      [this, generation, index, baud](const DeviceClient::Outcome& outcome) {
                          if (generation == m_generation && !m_scans[index]->done)
                              onAnswer(index, baud, outcome);
                      });
}

void Scanner::onAnswer(int index, qint32 baud, const DeviceClient::Outcome& outcome) {
    PortScan& scan = *m_scans[index];
    ++m_done;
    const int left = int(m_options.bauds.size()) - scan.nextBaud;
    if (outcome.ok() && std::holds_alternative<protocol::ConnectConfirmed>(outcome.value())) {
        Q_EMIT found(scan.name, baud);
        complete(index, {scan.name, ScanResult::Status::Found, baud}, left);
    } else if (outcome.faultIf() && outcome.fault().kind == DeviceFault::Kind::PortLost) {
        Q_EMIT cannotOpen(scan.name, platform::SerialError::Resource);
        complete(index, {scan.name, ScanResult::Status::CannotOpen, 0, platform::SerialError::Resource},
                 left);
    } else {
        if (left > 0) // otherwise tryNext() completes the port and reports the progress
            Q_EMIT progress(m_done, m_total);
        tryNext(index);
    }
}

void Scanner::complete(int index, ScanResult result, int attemptsLeft) {
    PortScan& scan = *m_scans[index];
    scan.done = true;
    if (scan.client)
        scan.client->close();
    m_results[index] = std::move(result);
    m_total -= attemptsLeft;
    Q_EMIT progress(m_done, m_total);
    finishIfDone();
}

void Scanner::finishIfDone() {
    if (!m_running)
        return;
    for (const auto& scan : m_scans)
        if (!scan->done)
            return;
    m_running = false;
    Q_EMIT finished(m_results);
}

void Scanner::cancel() {
    if (!m_running)
        return;
    ++m_generation;
    m_running = false;
    for (const auto& scan : m_scans) {
        scan->done = true;
        if (scan->client)
            scan->client->close();
    }
    Q_EMIT finished(m_results);
}

} // namespace device
