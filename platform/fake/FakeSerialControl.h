// SPDX-License-Identifier: MIT
#pragma once

#include "platform/SerialControl.h"

#include <QList>

#include <functional>

// A serial control that records what is asked of it and delivers bytes the test feeds in.
namespace platform {

class FakeSerialControl final : public SerialControl {
    Q_OBJECT
public:
    struct Opening {
        QString portName;
        LineSettings settings;
    };

    using SerialControl::SerialControl;

    OpenResult open(const QString& portName, const LineSettings& settings) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    qint64 write(const QByteArray& bytes) override;
    qint64 bytesAvailable() const override { return m_input.size(); }
    QByteArray readAll() override;
    QString errorString() const override { return QStringLiteral("fake"); }

    // Bytes arrive from the device: appended to the input and announced with readyRead.
    void feed(const QByteArray& bytes);
    // The port reports a fault, as a vanished device does.
    void fail(SerialFault error) { Q_EMIT errorOccurred(error); }

    SerialFault refuseOpen = SerialFault::NoError; // the next opens fail with this
    bool refuseWrite = false;                      // writes fail while open
    QList<Opening> openings;                       // every successful open
    int openAttempts = 0;
    int closeCalls = 0;       // closes of an open port
    QList<QByteArray> writes; // one entry per write operation
    // Runs after each successful write, so that a test can play the device; it should answer from
    // the event loop (QTimer::singleShot), as a real port delivers bytes.
    std::function<void(const QByteArray&)> onWrite;

private:
    bool m_open = false;
    QByteArray m_input;
};

} // namespace platform
