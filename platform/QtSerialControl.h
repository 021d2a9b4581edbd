// SPDX-License-Identifier: MIT
#pragma once

#include "platform/SerialControl.h"

#include <QSerialPort>

// The serial control over an asynchronous QSerialPort on the UI thread.
namespace platform {

class QtSerialControl final : public SerialControl {
    Q_OBJECT
public:
    explicit QtSerialControl(QObject* parent = nullptr);

    OpenResult open(const QString& portName, const LineSettings& settings) override;
    void close() override;
    bool isOpen() const override;
    qint64 write(const QByteArray& bytes) override;
    qint64 bytesAvailable() const override;
    QByteArray readAll() override;
    QString errorString() const override;

    // What an open that failed with `error` means. QSerialPort gives one PermissionError for a port
    // another program holds (its lock file, or an exclusive open) and for a port this user may not
    // open; `deviceAccessible` (the user may read and write the device) tells the two apart.
    static SerialFault openFailure(QSerialPort::SerialPortError error, bool deviceAccessible);
    // What Windows' reason (GetLastError) for refusing a COM port means. Windows opens a COM port
    // for one program only, so "access denied" there is a port another program holds.
    static SerialFault windowsOpenFailure(quint32 systemError);
    // The device a name means: a relative path that exists is taken from the working folder,
    // where QSerialPort would look for it under /dev.
    static QString location(const QString& portName);

private:
    void onError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
};

} // namespace platform
