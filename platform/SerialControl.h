// SPDX-License-Identifier: MIT
#pragma once

#include "platform/LineSettings.h"
#include "protocol/Result.h"

#include <QByteArray>
#include <QObject>
#include <QString>

// The PC serial port as the rest of the program needs it: open by name, write, read what waits,
// and hear about arrivals and faults. Implemented over QSerialPort, and faked in tests.
namespace platform {

// DeviceNotFound: no such port; InUse: another program holds it; Permission: this user may not open
// it (on Linux, not in the dialout group); Open: any other reason it could not be opened.
enum class SerialFault {
    NoError,
    DeviceNotFound,
    InUse,
    Permission,
    Open,
    Resource,
    Read,
    Write,
    Timeout,
    Other
};

// Whether an error on an open port means the device is gone (unplugged, hung up). A vanished
// device repeats these in a tight loop. Open failures are reported by open(); the rest do not end
// a session.
constexpr bool meansPortLost(SerialFault error) {
    switch (error) {
    case SerialFault::Resource:
    case SerialFault::Read:
    case SerialFault::Write:
        return true;
    case SerialFault::NoError:
    case SerialFault::DeviceNotFound:
    case SerialFault::InUse:
    case SerialFault::Permission:
    case SerialFault::Open:
    case SerialFault::Timeout:
    case SerialFault::Other:
        return false;
    }
    return false;
}

// Done, or why the port could not be opened.
using OpenResult = protocol::Result<protocol::Done, SerialFault>;

class SerialControl : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Closes the port if it is open, then opens `portName` with `settings` and discards anything
    // waiting in either direction. When it cannot be opened, the port is closed and the result
    // says why.
    virtual OpenResult open(const QString& portName, const LineSettings& settings) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Queues all bytes in one operation; -1 when the port is closed or the write fails.
    virtual qint64 write(const QByteArray& bytes) = 0;
    virtual qint64 bytesAvailable() const = 0;
    // Every waiting byte, in arrival order, removed from the buffer.
    virtual QByteArray readAll() = 0;
    virtual QString errorString() const = 0;

Q_SIGNALS:
    void readyRead();
    void errorOccurred(platform::SerialFault error);
};

} // namespace platform
