// SPDX-License-Identifier: MIT
#pragma once

#include "link/PortChoice.h"
#include "platform/SerialControl.h"

#include <QObject>
#include <QTimer>

// Opens and closes the PC port, paces reception (a reply is whatever arrived before the line
// was quiet for 50 ms) and turns a vanished port into one clean close.
namespace serial {

class PortController : public QObject {
    Q_OBJECT
public:
    static constexpr int QuietTimeMs = 50;

    explicit PortController(platform::SerialControl& serial, QObject* parent = nullptr);

    // Configures and opens the chosen port; closed, with the reason, when that cannot be done.
    platform::OpenResult open(const PortChoice& choice);
    // Closes the port if it is open, and ends the quiet time.
    void close();
    bool isOpen() const { return m_serial.isOpen(); }
    // Writes the bytes in one operation. A write that fails on an open port is taken as a lost
    // port. False when nothing was written.
    bool send(const QByteArray& bytes);
    // Everything received so far, removed from the buffer.
    QByteArray takeReceived();

Q_SIGNALS:
    void opened();
    // The port was closed, by close() or because it was lost.
    void closed();
    // The line has been quiet for 50 ms after reception (or the start-up tick).
    void quiet();
    // The open port failed under the program (device unplugged, peer hung up); it is now closed.
    // Follows closed().
    void portLost();

private:
    void onReadyRead();
    void onError(platform::SerialFault error);
    void lose();

    platform::SerialControl& m_serial;
    QTimer m_timer1{this}; // a child, so it can be found by its name "Timer1"
    QByteArray m_keptAtLoss;
};

} // namespace serial
