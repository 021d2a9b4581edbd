// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The serial ports the system offers, by the names they are opened with.
namespace platform {

// A port and what the system knows of it, e.g. "USB-SERIAL CH340"; the description may be empty.
struct PortInfo {
    QString name;
    QString description;

    bool operator==(const PortInfo&) const = default;
};

class PortList {
public:
    virtual ~PortList() = default;
    virtual QStringList ports() const = 0;
    // The same ports in the same order, each with its description; none by default.
    virtual QList<PortInfo> describedPorts() const {
        QList<PortInfo> infos;
        for (const QString& name : ports())
            infos.append({name, {}});
        return infos;
    }
};

} // namespace platform
