// SPDX-License-Identifier: MIT
#pragma once

#include "platform/SerialControl.h"
#include "sim/Device.h"
#include "sim/FrameAssembler.h"

#include <QTimer>

// An expander inside the program: the simulator's device answering every frame written to a
// serial control that needs no port.
namespace demo {

class SimulatedPort final : public platform::SerialControl {
    Q_OBJECT
public:
    // About the time a real box takes to answer a short request.
    static constexpr int ReplyDelayMs = 20;
    // A frame whose bytes stop coming is given up after this long, as the box does.
    static constexpr int FrameGapMs = 200;

    explicit SimulatedPort(QObject* parent = nullptr);

    platform::OpenResult open(const QString& portName, const platform::LineSettings& settings) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    qint64 write(const QByteArray& bytes) override;
    qint64 bytesAvailable() const override { return m_input.size(); }
    QByteArray readAll() override;
    QString errorString() const override { return {}; }

    const sim::Device& device() const { return m_device; }

private:
    void reset();

    sim::Device m_device;
    sim::FrameAssembler m_assembler;
    QByteArray m_input;
    QTimer m_gap;
    bool m_open = false;
    int m_session = 0; // replies of an earlier session never reach a later one
};

} // namespace demo
