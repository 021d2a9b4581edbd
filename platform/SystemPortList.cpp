// SPDX-License-Identifier: MIT
#include "platform/SystemPortList.h"

#include "platform/SimRegistry.h"

#include <QSerialPortInfo>

namespace platform {

namespace {

QString nameOf(const QSerialPortInfo& info) {
#ifdef Q_OS_WIN
    return info.portName(); // COMn
#else
    return info.systemLocation(); // /dev/ttyUSB0
#endif
}

// "USB-SERIAL CH340 (wch.cn)": what the adapter calls itself, and its maker when that is not
// already part of it.
QString describe(const QSerialPortInfo& info) {
    const QString description = info.description().trimmed();
    const QString maker = info.manufacturer().trimmed();
    if (maker.isEmpty() || description.contains(maker, Qt::CaseInsensitive))
        return description;
    if (description.isEmpty())
        return maker;
    return description + QStringLiteral(" (") + maker + QLatin1Char(')');
}

} // namespace

QStringList SystemPortList::ports() const {
    QStringList names;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : infos)
        names.append(nameOf(info));
    names.append(SimRegistry::ports());
    return names;
}

QList<PortInfo> SystemPortList::describedPorts() const {
    QList<PortInfo> ports;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : infos)
        ports.append({nameOf(info), describe(info)});
    for (const QString& simulator : SimRegistry::ports())
        ports.append({simulator, QStringLiteral("expander-sim 模拟设备")});
    return ports;
}

} // namespace platform
