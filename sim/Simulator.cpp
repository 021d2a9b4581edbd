// SPDX-License-Identifier: MIT
#include "sim/Simulator.h"

#include "sim/Expander.h"

#include <csignal>
#include <cstdio>

namespace sim {

namespace {

void printLine(const QString& text) {
    const QByteArray bytes = (text + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

} // namespace

Simulator::Simulator(const Options& options, QObject* parent)
    : QObject(parent), m_options(options), m_log(options.quiet) {}

Simulator::~Simulator() {
    stop();
}

bool Simulator::start(QString* error) {
    const bool several = m_options.count > 1;
    for (int number = 1; number <= m_options.count; ++number) {
        auto* device = new Expander(m_options, several ? number : 0, this);
        m_devices.push_back(device);
        if (!device->start(error))
            return false;
        connect(device, &Expander::hungUp, this, [this] {
            if (++m_hungUp == int(m_devices.size()))
                Q_EMIT finished();
        });
    }
    // A sole device keeps the layout that scripts and tests of a single device parse.
    for (size_t i = 0; i < m_devices.size(); ++i) {
        const Expander& device = *m_devices[i];
        if (!several) {
            printLine(device.mainPath());
            printLine(QStringLiteral("registered: ") + device.registration());
            for (int port = 1; port <= protocol::frame::PortCount; ++port)
                printLine(QStringLiteral("port %1: %2").arg(port).arg(device.portPath(port)));
            continue;
        }
        const QString name = QStringLiteral("device %1").arg(i + 1);
        printLine(name + QStringLiteral(": ") + device.mainPath());
        printLine(QStringLiteral("registered %1: ").arg(i + 1) + device.registration());
        for (int port = 1; port <= protocol::frame::PortCount; ++port)
            printLine(name + QStringLiteral(" port %1: %2").arg(port).arg(device.portPath(port)));
    }
    printLine(QStringLiteral("ready"));

    if (m_options.faults.randomSeed)
        m_log.note(QStringLiteral("random faults, seed %1").arg(*m_options.faults.randomSeed));
    return true;
}

void Simulator::stop() {
    for (Expander* device : m_devices)
        device->stop();
}

void Simulator::terminate(int signalNumber) {
    m_log.note(QStringLiteral("%1 received, stopping")
                   .arg(signalNumber == SIGINT ? QStringLiteral("SIGINT") : QStringLiteral("SIGTERM")));
    stop();
}

void Simulator::powerCycle() {
    for (Expander* device : m_devices)
        device->powerCycle();
}

} // namespace sim
