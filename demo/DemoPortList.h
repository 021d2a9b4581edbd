// SPDX-License-Identifier: MIT
#pragma once

#include "platform/PortList.h"

// The system's ports followed by the demonstration device.
namespace demo {

class DemoPortList final : public platform::PortList {
public:
    // The demonstration device's port name, which no system gives a serial port.
    static constexpr QStringView Name = u"DEMO";

    explicit DemoPortList(const platform::PortList& system) : m_system(system) {}
    QStringList ports() const override;
    QList<platform::PortInfo> describedPorts() const override;

private:
    const platform::PortList& m_system;
};

} // namespace demo
