// SPDX-License-Identifier: MIT
#pragma once

#include "platform/PortList.h"

// The system's serial ports (QSerialPortInfo) followed by the ports of running device simulators.
namespace platform {

class SystemPortList final : public PortList {
public:
    QStringList ports() const override;
    // The adapter's description and maker as the system reports them ("USB-SERIAL CH340 (wch.cn)");
    // a simulator's port says that it is one.
    QList<PortInfo> describedPorts() const override;
};

} // namespace platform
