// SPDX-License-Identifier: MIT
#include "demo/DemoPortList.h"

namespace demo {

QStringList DemoPortList::ports() const {
    return m_system.ports() << Name.toString();
}

QList<platform::PortInfo> DemoPortList::describedPorts() const {
    return m_system.describedPorts() << platform::PortInfo{Name.toString(), QStringLiteral("内置演示设备")};
}

} // namespace demo
