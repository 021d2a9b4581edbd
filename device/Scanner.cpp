// SPDX-License-Identifier: MIT
#include "device/Scanner.h"

#include <QTimer>

namespace device {

struct Scanner::PortScan {
    QString name;
    std::unique_ptr<platform::SerialControl> serial; // declared first: outlives the client
    std::unique_ptr<DeviceClient> client;
    std::unique_ptr<Connector> connector;
    bool done = false;
};

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
        m_results.append({name});
        const bool repeated = m_options.ports.indexOf(name) < index;
        if (m_options.inUse.contains(name) || repeated) {
            scan->done = true;
            m_results[index].outcome = ConnectFault{ConnectFault::Kind::InUse, {}, {}};
            QTimer::singleShot(0, this, [this, generation, name] {
                if (generation == m_generation)
                    Q_EMIT skipped(name);
            });
        } else {
            scan->serial = m_factory(name);
            if (scan->serial) {
                scan->client = std::make_unique<DeviceClient>(*scan->serial);
                scan->connector = std::make_unique<Connector>(*scan->client);
                connect(scan->client.get(), &DeviceClient::traffic, this,
                        [this, name](DeviceClient::Traffic kind, const QByteArray& bytes) {
                            Q_EMIT traffic(name, kind, bytes);
                        });
                connect(scan->connector.get(), &Connector::missed, this, [this] {
                    ++m_done;
                    Q_EMIT progress(m_done, m_total);
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
        for (int i = 0; i < int(m_scans.size()); ++i) {
            PortScan& scan = *m_scans[i];
            if (scan.done)
                continue;
            if (!scan.connector) {
                onConnected(i,
                            ConnectFault{ConnectFault::Kind::CannotOpen, platform::SerialFault::Other, {}});
                continue;
            }
            scan.connector->start(scan.name, m_options.bauds, m_options.line, m_options.timing,
                                  [this, generation, i](const Connector::Outcome& outcome) {
                                      if (generation == m_generation && !m_scans[i]->done)
                                          onConnected(i, outcome);
                                  });
        }
        finishIfDone();
    });
}

void Scanner::onConnected(int index, const Connector::Outcome& outcome) {
    PortScan& scan = *m_scans[index];
    const bool opened = outcome.ok() || outcome.fault().kind != ConnectFault::Kind::CannotOpen;
    // Every baud tried drew an attempt but one the port would not open at.
    const int attempts = scan.connector ? scan.connector->tried() - (opened ? 0 : 1) : 0;
    m_done += opened ? 1 : 0; // the last attempt; the others were counted as they missed
    m_total -= int(m_options.bauds.size()) - attempts;
    if (!outcome.ok()) {
        if (!opened)
            Q_EMIT cannotOpen(scan.name, outcome.fault().error);
        complete(index, {scan.name, outcome.fault()});
        return;
    }
    const qint32 baud = outcome.value();
    Q_EMIT found(scan.name, baud);
    Q_EMIT progress(m_done, m_total);
    // Its MAC and IP tell this box from the others on the bench; a box that does not give them is
    // still found.
    const quint64 generation = m_generation;
    scan.client->send(
        Request::readNetwork(), this, [this, generation, index, baud](const DeviceClient::Outcome& answer) {
            if (generation != m_generation || m_scans[index]->done)
                return;
            FoundDevice device{baud, std::nullopt};
            if (answer.ok())
                if (const auto* network = std::get_if<protocol::NetworkParameters>(&answer.value()))
                    device.network = *network;
            complete(index, {m_scans[index]->name, device});
        });
}

void Scanner::complete(int index, const ScanResult& result) {
    PortScan& scan = *m_scans[index];
    scan.done = true;
    if (scan.client)
        scan.client->close();
    m_results[index] = result;
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
