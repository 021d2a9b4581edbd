#pragma once

#include <QStringList>

// The serial ports the system offers, by the names they are opened with.
namespace platform {

class PortList {
public:
    virtual ~PortList() = default;
    virtual QStringList ports() const = 0;
};

} // namespace platform
