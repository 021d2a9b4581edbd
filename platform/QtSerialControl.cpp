// SPDX-License-Identifier: MIT
#include "platform/QtSerialControl.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace platform {

namespace {

// The receive buffer the device's short replies need; a flood waits in the driver instead of memory.
constexpr qint64 kReadBufferSize = 1024;

QSerialPort::Parity toQt(LineSettings::Parity parity) {
    switch (parity) {
    case LineSettings::Parity::None:
        return QSerialPort::NoParity;
    case LineSettings::Parity::Odd:
        return QSerialPort::OddParity;
    case LineSettings::Parity::Even:
        return QSerialPort::EvenParity;
    case LineSettings::Parity::Mark:
        return QSerialPort::MarkParity;
    case LineSettings::Parity::Space:
        return QSerialPort::SpaceParity;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits toQt(LineSettings::StopBits stopBits) {
    switch (stopBits) {
    case LineSettings::StopBits::One:
        return QSerialPort::OneStop;
    case LineSettings::StopBits::OneAndHalf:
        return QSerialPort::OneAndHalfStop;
    case LineSettings::StopBits::Two:
        return QSerialPort::TwoStop;
    }
    return QSerialPort::OneStop;
}

SerialFault fromQt(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::NoError:
        return SerialFault::NoError;
    case QSerialPort::DeviceNotFoundError:
        return SerialFault::DeviceNotFound;
    case QSerialPort::PermissionError:
        return SerialFault::Permission;
    case QSerialPort::OpenError:
        return SerialFault::Open;
    case QSerialPort::ResourceError:
        return SerialFault::Resource;
    case QSerialPort::ReadError:
        return SerialFault::Read;
    case QSerialPort::WriteError:
        return SerialFault::Write;
    case QSerialPort::TimeoutError:
        return SerialFault::Timeout;
    default:
        return SerialFault::Other;
    }
}

// QSerialPort derives a lock file's name from the port's name; a NUL in it truncates that name
// and sends QLockFile into endless recursion, so such names never reach it.
bool usableName(const QString& name) {
    if (name.isEmpty() || name.size() > 255)
        return false;
    for (QChar c : name)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return false;
    return true;
}

#ifdef Q_OS_WIN
// Why Windows refuses the port, asked of Windows itself: QSerialPort reports a port another program
// holds (a sharing violation) and a busy driver only as an unknown error. 0 when it opens now.
quint32 systemOpenError(const QString& portName) {
    const QString path =
        portName.startsWith(QLatin1String("\\\\.\\")) ? portName : QStringLiteral("\\\\.\\") + portName;
    const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()),
                                      GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError();
    CloseHandle(handle);
    return 0;
}
#else
// Whether this user may read and write the device itself.
bool deviceAccessible(const QString& portName) {
    const QFileInfo device(portName);
    return device.exists() && device.isReadable() && device.isWritable();
}
#endif

} // namespace

SerialFault QtSerialControl::openFailure(QSerialPort::SerialPortError error, bool deviceAccessible) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return SerialFault::DeviceNotFound;
    case QSerialPort::PermissionError:
        return deviceAccessible ? SerialFault::InUse : SerialFault::Permission;
    default:
        return SerialFault::Open;
    }
}

SerialFault QtSerialControl::windowsOpenFailure(quint32 systemError) {
    switch (systemError) {
    case 2:    // ERROR_FILE_NOT_FOUND
    case 3:    // ERROR_PATH_NOT_FOUND
    case 123:  // ERROR_INVALID_NAME
    case 1167: // ERROR_DEVICE_NOT_CONNECTED
        return SerialFault::DeviceNotFound;
    case 5:   // ERROR_ACCESS_DENIED: a COM port is exclusive, so another program has it open
    case 32:  // ERROR_SHARING_VIOLATION
    case 170: // ERROR_BUSY
        return SerialFault::InUse;
    case 1260: // ERROR_ACCESS_DISABLED_BY_POLICY
    case 1314: // ERROR_PRIVILEGE_NOT_HELD
        return SerialFault::Permission;
    default:
        return SerialFault::Open;
    }
}

QString QtSerialControl::location(const QString& portName) {
    if (portName.contains(u'/') && QDir::isRelativePath(portName) && QFileInfo::exists(portName))
        return QFileInfo(portName).absoluteFilePath();
    return portName; // a bare name ("ttyUSB0", "COM3") or a full path, as the port list gives it
}

QtSerialControl::QtSerialControl(QObject* parent) : SerialControl(parent) {
    m_port.setReadBufferSize(kReadBufferSize);
    connect(&m_port, &QSerialPort::readyRead, this, &SerialControl::readyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialControl::onError);
}

OpenResult QtSerialControl::open(const QString& portName, const LineSettings& settings) {
    if (m_port.isOpen())
        m_port.close();
    if (!usableName(portName))
        return SerialFault::DeviceNotFound; // no device could bear such a name
    m_port.setPortName(location(portName));
    const bool configured =
        m_port.setBaudRate(settings.baud) && m_port.setDataBits(QSerialPort::DataBits(settings.dataBits)) &&
        m_port.setParity(toQt(settings.parity)) && m_port.setStopBits(toQt(settings.stopBits));
    if (!configured || !m_port.open(QIODevice::ReadWrite)) {
        const QSerialPort::SerialPortError qtError = m_port.error();
        if (m_port.isOpen())
            m_port.close();
        if (!configured)
            return SerialFault::Open;
#ifdef Q_OS_WIN
        const quint32 systemError = systemOpenError(m_port.portName());
        return systemError ? windowsOpenFailure(systemError) : openFailure(qtError, true);
#else
        return openFailure(qtError, deviceAccessible(portName));
#endif
    }
    m_port.clear(QSerialPort::AllDirections);
    return protocol::Done{};
}

void QtSerialControl::close() {
    if (m_port.isOpen()) {
        m_port.flush(); // what is still buffered here goes to the driver, which sends it before the close
        m_port.close();
    }
}

bool QtSerialControl::isOpen() const {
    return m_port.isOpen();
}

qint64 QtSerialControl::write(const QByteArray& bytes) {
    if (!m_port.isOpen())
        return -1;
    return m_port.write(bytes);
}

qint64 QtSerialControl::bytesAvailable() const {
    return m_port.isOpen() ? m_port.bytesAvailable() : 0;
}

QByteArray QtSerialControl::readAll() {
    return m_port.isOpen() ? m_port.readAll() : QByteArray();
}

QString QtSerialControl::errorString() const {
    return m_port.errorString();
}

void QtSerialControl::onError(QSerialPort::SerialPortError error) {
    if (error == QSerialPort::NoError)
        return;
    Q_EMIT errorOccurred(fromQt(error));
}

} // namespace platform
