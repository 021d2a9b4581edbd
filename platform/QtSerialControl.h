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

private:
    void onError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
};

} // namespace platform
