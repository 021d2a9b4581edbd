#include "platform/SystemPortList.h"

#include "platform/SimRegistry.h"

#include <QSerialPortInfo>

namespace platform {

QStringList SystemPortList::ports() const {
    QStringList names;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : infos) {
#ifdef Q_OS_WIN
        names.append(info.portName()); // COMn
#else
        names.append(info.systemLocation()); // /dev/ttyUSB0
#endif
    }
    names.append(SimRegistry::ports());
    return names;
}

} // namespace platform
