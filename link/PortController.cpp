// SPDX-License-Identifier: MIT
#include "link/PortController.h"

namespace serial {

PortController::PortController(platform::SerialControl& serial, QObject* parent)
    : QObject(parent), m_serial(serial) {
    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setSingleShot(true);
    m_timer1.setInterval(QuietTimeMs);
    m_timer1.setTimerType(Qt::PreciseTimer); // a coarse timer may end the quiet time 5% early
    connect(&m_timer1, &QTimer::timeout, this, &PortController::quiet);
    connect(&m_serial, &platform::SerialControl::readyRead, this, &PortController::onReadyRead);
    connect(&m_serial, &platform::SerialControl::errorOccurred, this, &PortController::onError);
    m_timer1.start(); // the first tick finds nothing and does nothing
}

platform::OpenResult PortController::open(const PortChoice& choice) {
    const bool wasOpen = m_serial.isOpen();
    const std::optional<platform::LineSettings> settings = choice.lineSettings();
    platform::OpenResult result = platform::SerialFault::Open;
    if (choice.PcPortName.isEmpty() || !settings)
        m_serial.close();
    else
        result = m_serial.open(choice.PcPortName, *settings);
    if (result.ok())
        Q_EMIT opened();
    else if (wasOpen)
        Q_EMIT closed();
    return result;
}

void PortController::close() {
    m_timer1.stop();
    if (!m_serial.isOpen())
        return;
    m_serial.close();
    Q_EMIT closed();
}

bool PortController::send(const QByteArray& bytes) {
    if (bytes.isEmpty() || !m_serial.isOpen())
        return false;
    if (m_serial.write(bytes) != bytes.size()) {
        lose();
        return false;
    }
    return true;
}

QByteArray PortController::takeReceived() {
    QByteArray received;
    received.swap(m_keptAtLoss);
    if (m_serial.isOpen())
        received.append(m_serial.readAll());
    return received;
}

void PortController::onReadyRead() {
    m_timer1.start(); // restarts the quiet time
}

void PortController::onError(platform::SerialFault error) {
    if (platform::meansPortLost(error))
        lose(); // acts on the first of the flood only
}

void PortController::lose() {
    if (!m_serial.isOpen())
        return;
    // Closed first, so the flood of errors a vanished device raises stops here.
    m_keptAtLoss.append(m_serial.readAll());
    m_serial.close();
    m_timer1.stop();
    // What arrived just before the loss is still a reply: it is handled before the loss is told,
    // so whatever it enables, the closed state that follows disables again.
    if (!m_keptAtLoss.isEmpty())
        Q_EMIT quiet();
    Q_EMIT closed();
    Q_EMIT portLost();
}

} // namespace serial
