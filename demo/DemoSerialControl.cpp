// SPDX-License-Identifier: MIT
#include "demo/DemoSerialControl.h"

#include "demo/DemoPortList.h"

namespace demo {

DemoSerialControl::DemoSerialControl(std::unique_ptr<platform::SerialControl> real, QObject* parent)
    : SerialControl(parent), m_real(std::move(real)), m_active(m_real.get()) {
    follow(m_real.get());
    follow(&m_simulated);
}

// Only the control in use speaks for this one.
void DemoSerialControl::follow(platform::SerialControl* control) {
    connect(control, &SerialControl::readyRead, this, [this, control] {
        if (control == m_active)
            Q_EMIT readyRead();
    });
    connect(control, &SerialControl::errorOccurred, this, [this, control](platform::SerialFault error) {
        if (control == m_active)
            Q_EMIT errorOccurred(error);
    });
}

platform::OpenResult DemoSerialControl::open(const QString& portName,
                                             const platform::LineSettings& settings) {
    m_active->close();
    m_active = portName == DemoPortList::Name ? static_cast<SerialControl*>(&m_simulated) : m_real.get();
    return m_active->open(portName, settings);
}

} // namespace demo
