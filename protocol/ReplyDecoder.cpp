// SPDX-License-Identifier: MIT
#include "protocol/ReplyDecoder.h"

namespace protocol {

namespace {

quint8 at(const QByteArray& bytes, qsizetype i) {
    return quint8(bytes.at(i));
}

// Length of the complete frame at the start of `bytes`, or 0 when it does not begin with one.
qsizetype leadingFrameSize(const QByteArray& bytes) {
    if (bytes.size() < 2 || at(bytes, 0) != frame::Start)
        return 0;
    const qsizetype size = qsizetype(at(bytes, 1)) + 2;
    if (size < 3 || size > bytes.size() || at(bytes, size - 1) != frame::End)
        return 0;
    return size;
}

NetworkParameters networkParameters(const QByteArray& bytes) {
    NetworkParameters p;
    for (int i = 0; i < frame::NetworkOctets; ++i)
        p.octets[i] = at(bytes, 3 + i);
    return p;
}

PortConfiguration portConfiguration(const QByteArray& bytes) {
    PortConfiguration c;
    for (int i = 0; i < frame::PortCount; ++i)
        c.ports[i] = {at(bytes, 3 + 3 * i), at(bytes, 4 + 3 * i), at(bytes, 5 + 3 * i)};
    c.mainBaudCode = at(bytes, bytes.size() - 3);
    c.outputSwitch = at(bytes, bytes.size() - 2);
    return c;
}

} // namespace

std::vector<QByteArray> splitBurst(const QByteArray& burst) {
    std::vector<QByteArray> parts;
    QByteArray rest = burst;
    while (!rest.isEmpty()) {
        const qsizetype size = leadingFrameSize(rest);
        if (size == 0 || size == rest.size())
            break;
        parts.push_back(rest.left(size));
        rest.remove(0, size);
    }
    if (!rest.isEmpty())
        parts.push_back(rest);
    return parts;
}

Reply decodeReply(const QByteArray& bytes) {
    if (bytes.size() < 3 || at(bytes, 0) != frame::Start)
        return Unrecognised{};
    const bool endsWell = at(bytes, bytes.size() - 1) == frame::End;
    switch (at(bytes, 2)) {
    case frame::reply::Connected:
        return endsWell ? Reply(ConnectConfirmed{}) : Reply(Unrecognised{});
    case frame::reply::PortSetDone:
        return endsWell ? Reply(PortSetConfirmed{}) : Reply(Unrecognised{});
    case frame::reply::RestoreDone:
        return endsWell ? Reply(RestoreConfirmed{}) : Reply(Unrecognised{});
    case frame::reply::NetworkSetDone:
        return endsWell ? Reply(NetworkSetConfirmed{}) : Reply(Unrecognised{});
    case frame::reply::NetworkParameters:
        if (endsWell && bytes.size() == frame::NetworkParametersSize)
            return networkParameters(bytes);
        return Unrecognised{};
    case frame::reply::PortConfiguration:
        if (endsWell && bytes.size() == frame::PortConfigurationSize)
            return portConfiguration(bytes);
        return Unrecognised{};
    default:
        return Unrecognised{};
    }
}

std::vector<ReplySegment> decodeBurst(const QByteArray& burst) {
    std::vector<ReplySegment> segments;
    for (QByteArray& part : splitBurst(burst)) {
        const Reply reply = decodeReply(part); // a variant of plain values: copied, not moved
        segments.push_back({std::move(part), reply});
    }
    return segments;
}

namespace {

QByteArray wrap(quint8 code, const QByteArray& payload) {
    QByteArray bytes;
    bytes.append(char(frame::Start));
    bytes.append(char(payload.size() + 2));
    bytes.append(char(code));
    bytes.append(payload);
    bytes.append(char(frame::End));
    return bytes;
}

struct Encoder {
    QByteArray operator()(const Unrecognised&) const { return {}; }
    QByteArray operator()(const ConnectConfirmed&) const { return wrap(frame::reply::Connected, {}); }
    QByteArray operator()(const PortSetConfirmed&) const { return wrap(frame::reply::PortSetDone, {}); }
    QByteArray operator()(const RestoreConfirmed&) const { return wrap(frame::reply::RestoreDone, {}); }
    QByteArray operator()(const NetworkSetConfirmed&) const { return wrap(frame::reply::NetworkSetDone, {}); }
    QByteArray operator()(const NetworkParameters& p) const {
        QByteArray payload;
        for (quint8 octet : p.octets)
            payload.append(char(octet));
        return wrap(frame::reply::NetworkParameters, payload);
    }
    QByteArray operator()(const PortConfiguration& c) const {
        QByteArray payload;
        for (const PortRecord& r : c.ports) {
            payload.append(char(r.baudCode));
            payload.append(char(r.lineByte));
            payload.append(char(r.functionCode));
        }
        payload.append(char(c.mainBaudCode));
        payload.append(char(c.outputSwitch));
        return wrap(frame::reply::PortConfiguration, payload);
    }
};

} // namespace

QByteArray encodeReply(const Reply& reply) {
    return std::visit(Encoder{}, reply);
}

} // namespace protocol
