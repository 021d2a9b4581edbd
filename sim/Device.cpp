// SPDX-License-Identifier: MIT
#include "sim/Device.h"

#include "protocol/Frame.h"
#include "protocol/HexText.h"
#include "protocol/ReplyDecoder.h"
#include "sim/Describe.h"

namespace sim {

namespace {

namespace frame = protocol::frame;

constexpr quint8 kRestoreKey = 0xEE; // the restore request's one payload byte

quint8 at(const QByteArray& bytes, qsizetype i) {
    return quint8(bytes.at(i));
}

QString hexByte(quint8 value) {
    return QStringLiteral("0x") + protocol::hexByte(value);
}

Outcome rejected(const QString& why) {
    Outcome outcome;
    outcome.rejection = why;
    return outcome;
}

Outcome answered(const QString& request, const protocol::Reply& reply) {
    Outcome outcome;
    outcome.request = request;
    outcome.reply = protocol::encodeReply(reply);
    return outcome;
}

struct Command {
    quint8 code;
    quint8 length; // the length byte the command must carry; 0 for the variable forward frame
    const char16_t* name;
};

constexpr Command kCommands[] = {
    {frame::command::Connect, 0x02, u"connect"},
    {frame::command::PortSet, quint8(frame::PortSetPayload + 2), u"port set"},
    {frame::command::PortSync, 0x02, u"port sync"},
    {frame::command::Restore, 0x03, u"restore"},
    {frame::command::Forward, 0, u"forward"},
    {frame::command::NetworkRead, 0x02, u"network read"},
    {frame::command::NetworkWrite, quint8(frame::NetworkOctets + 2), u"network write"},
};

const Command* findCommand(quint8 code) {
    for (const Command& command : kCommands)
        if (command.code == code)
            return &command;
    return nullptr;
}

} // namespace

protocol::PortConfiguration Device::factoryPorts() {
    protocol::PortConfiguration ports;
    ports.ports.fill({0x08, 0x03, 0x02});
    ports.mainBaudCode = 0x08;
    ports.outputSwitch = 0x01;
    return ports;
}

protocol::NetworkParameters Device::factoryNetwork(int index) {
    const auto step = quint8(index);
    return {{0, 8, 220, 1, 2, quint8(3 + step), 192, 168, 1, quint8(100 + step), 255, 255, 255, 0, 192, 168,
             1, 1}};
}

Device::Device(const DeviceSetup& setup)
    : m_setup(setup), m_ports(factoryPorts()), m_network(factoryNetwork(setup.index)) {
    m_ports.mainBaudCode = setup.mainBaudCode;
}

Outcome Device::handle(const QByteArray& frame) {
    if (frame.isEmpty() || at(frame, 0) != frame::Start)
        return rejected(QStringLiteral("start byte %1, expected 0x40")
                            .arg(frame.isEmpty() ? QStringLiteral("missing") : hexByte(at(frame, 0))));
    if (frame.size() < 2 || frame.size() != qsizetype(at(frame, 1)) + 2)
        return rejected(QStringLiteral("%1 bytes do not make a frame").arg(frame.size()));
    // Command and end byte are the least a frame holds.
    if (at(frame, 1) < 2)
        return rejected(
            QStringLiteral("length byte %1 leaves no room for a command").arg(hexByte(at(frame, 1))));
    const quint8 end = at(frame, frame.size() - 1);
    if (end != frame::End)
        return rejected(QStringLiteral("end byte %1, expected 0x23").arg(hexByte(end)));

    const quint8 code = at(frame, 2);
    const Command* command = findCommand(code);
    if (!command)
        return rejected(QStringLiteral("unknown command %1").arg(hexByte(code)));
    const QString name = QString::fromUtf16(command->name);
    const quint8 length = at(frame, 1);
    if (command->length != 0 && length != command->length)
        return rejected(QStringLiteral("length byte %1 does not fit a %2 request (%3)")
                            .arg(hexByte(length), name, hexByte(command->length)));

    switch (code) {
    case frame::command::Connect:
        return answered(QStringLiteral("connect"), protocol::ConnectConfirmed{});
    case frame::command::PortSet:
        return setPorts(frame);
    case frame::command::PortSync:
        return answered(QStringLiteral("port sync"), m_ports);
    case frame::command::Restore:
        if (at(frame, 3) != kRestoreKey)
            return rejected(QStringLiteral("restore key %1, expected 0xEE").arg(hexByte(at(frame, 3))));
        m_ports = factoryPorts();
        m_network = factoryNetwork(m_setup.index);
        return answered(QStringLiteral("restore factory defaults"), protocol::RestoreConfirmed{});
    case frame::command::NetworkRead:
        return answered(QStringLiteral("network read"), m_network);
    case frame::command::NetworkWrite:
        return writeNetwork(frame);
    case frame::command::Forward:
        return forward(frame);
    default:
        return rejected(QStringLiteral("unknown command %1").arg(hexByte(code)));
    }
}

Outcome Device::setPorts(const QByteArray& frame) {
    for (int i = 0; i < frame::PortCount; ++i) {
        if (i + 1 != m_setup.stuckPort)
            m_ports.ports[i] = {at(frame, 3 + 3 * i), at(frame, 4 + 3 * i), at(frame, 5 + 3 * i)};
    }
    m_ports.mainBaudCode = at(frame, 3 + 3 * frame::PortCount);
    m_ports.outputSwitch = at(frame, 4 + 3 * frame::PortCount);
    QString request = QStringLiteral("set ports: ") + describe::portConfiguration(m_ports);
    if (m_setup.stuckPort > 0)
        request += QStringLiteral(" (port %1 stuck: kept its old record)").arg(m_setup.stuckPort);
    return answered(request, protocol::PortSetConfirmed{});
}

Outcome Device::writeNetwork(const QByteArray& frame) {
    for (int i = 0; i < frame::NetworkOctets; ++i)
        m_network.octets[i] = at(frame, 3 + i);
    return answered(QStringLiteral("network write: ") + describe::network(m_network),
                    protocol::NetworkSetConfirmed{});
}

Outcome Device::forward(const QByteArray& frame) {
    // 40 L DD port data... 23: the port byte is the least a forward frame carries.
    if (frame.size() < 5)
        return rejected(QStringLiteral("forward frame without a port byte"));
    const int port = at(frame, 3);
    if (port < 1 || port > frame::PortCount)
        return rejected(QStringLiteral("forward port %1 outside 1..8").arg(port));
    Outcome outcome;
    outcome.forwardPort = port;
    outcome.forwardData = frame.mid(4, frame.size() - 5);
    outcome.request =
        QStringLiteral("forward to port %1: %2 bytes").arg(port).arg(outcome.forwardData.size());
    return outcome;
}

} // namespace sim
