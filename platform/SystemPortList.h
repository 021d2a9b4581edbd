#pragma once

#include "platform/PortList.h"

// The system's serial ports (QSerialPortInfo) followed by the ports of running device simulators.
namespace platform {

class SystemPortList final : public PortList {
public:
    QStringList ports() const override;
};

} // namespace platform
