// SPDX-License-Identifier: MIT
#pragma once

#include "demo/SimulatedPort.h"

#include <memory>

// The program's serial control with the demonstration device among the ports: the port named
// DemoPortList::Name goes to the expander inside the program, every other to the real control.
namespace demo {

class DemoSerialControl final : public platform::SerialControl {
    Q_OBJECT
public:
    explicit DemoSerialControl(std::unique_ptr<platform::SerialControl> real, QObject* parent = nullptr);

    platform::OpenResult open(const QString& portName, const platform::LineSettings& settings) override;
    void close() override { m_active->close(); }
    bool isOpen() const override { return m_active->isOpen(); }
    qint64 write(const QByteArray& bytes) override { return m_active->write(bytes); }
    qint64 bytesAvailable() const override { return m_active->bytesAvailable(); }
    QByteArray readAll() override { return m_active->readAll(); }
    QString errorString() const override { return m_active->errorString(); }

private:
    void follow(platform::SerialControl* control);

    std::unique_ptr<platform::SerialControl> m_real;
    SimulatedPort m_simulated;
    platform::SerialControl* m_active;
};

} // namespace demo
