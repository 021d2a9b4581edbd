// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/Reply.h"

#include <QByteArray>
#include <QString>

namespace sim {

// What the device made of one request frame: the reply to send, the data to put out on an
// extension port, and the words for the log.
struct Outcome {
    QString request;        // what the frame asked for; empty when it was rejected
    QString rejection;      // why nothing was done; empty when the frame was accepted
    QByteArray reply;       // empty when the request draws no reply
    int forwardPort = 0;    // 1..8 when forwardData goes out of that extension port
    QByteArray forwardData; // the forward frame's data bytes, possibly none

    bool accepted() const { return rejection.isEmpty(); }
};

// What makes one simulated device differ from another.
struct DeviceSetup {
    int index = 0;              // from 0; added to the last octet of the factory MAC and IP
    quint8 mainBaudCode = 0x08; // the stored main-port baud code at start
    int stuckPort = 0;          // 1..8: a port-set frame keeps this port's old record; 0: none
};

// The expander's state and its answer to each request frame, free of any port or timer so that
// it can be driven directly by tests.
class Device {
public:
    // Factory state: every extension port 9600 baud, 8N1, RS232 (08 03 02), main port 9600 (08),
    // output allowed (01); MAC 00:08:DC:01:02:03, IP 192.168.1.100, mask 255.255.255.0,
    // gateway 192.168.1.1, the last octet of MAC and IP raised by the device's index.
    static protocol::PortConfiguration factoryPorts();
    static protocol::NetworkParameters factoryNetwork(int index = 0);

    explicit Device(const DeviceSetup& setup = {});

    // `frame` is one whole frame as cut by the frame assembler: it begins with the start byte and
    // holds exactly the bytes its length byte announces. Field values are stored as they come,
    // unchecked, so a program can be shown codes that match no list entry.
    Outcome handle(const QByteArray& frame);

    const protocol::PortConfiguration& ports() const { return m_ports; }
    const protocol::NetworkParameters& network() const { return m_network; }

private:
    Outcome setPorts(const QByteArray& frame);
    Outcome writeNetwork(const QByteArray& frame);
    Outcome forward(const QByteArray& frame);

    DeviceSetup m_setup;
    protocol::PortConfiguration m_ports;
    protocol::NetworkParameters m_network;
};

} // namespace sim
