// SPDX-License-Identifier: MIT
#include "device/Request.h"

#include "config/NetworkFrame.h"
#include "config/PortSetFrame.h"
#include "protocol/Frame.h"
#include "protocol/HexText.h"
#include "protocol/Requests.h"

namespace device {

namespace {

namespace frame = protocol::frame;

constexpr int kConfirmationSize = 4; // 40 02 Ex 23

Request fixed(Request::Kind kind, QStringView text, quint8 replyCode, int replySize) {
    return {kind, protocol::parseHexFrame(text.toString()), Expectation{replyCode, replySize}};
}

} // namespace

Request Request::connect() {
    return fixed(Kind::Connect, protocol::requests::Connect, frame::reply::Connected, kConfirmationSize);
}

Request Request::readPorts() {
    return fixed(Kind::ReadPorts, protocol::requests::PortSync, frame::reply::PortConfiguration,
                 frame::PortConfigurationSize);
}

Request Request::restore() {
    return fixed(Kind::Restore, protocol::requests::Restore, frame::reply::RestoreDone, kConfirmationSize);
}

Request Request::readNetwork() {
    return fixed(Kind::ReadNetwork, protocol::requests::NetworkRead, frame::reply::NetworkParameters,
                 frame::NetworkParametersSize);
}

Request Request::writePorts(const protocol::PortConfiguration& codes) {
    return {Kind::WritePorts, config::PortSetFrame::encode(codes),
            Expectation{frame::reply::PortSetDone, kConfirmationSize}};
}

Request Request::writeNetwork(const protocol::NetworkParameters& octets) {
    return {Kind::WriteNetwork, config::NetworkFrame::encode(octets),
            Expectation{frame::reply::NetworkSetDone, kConfirmationSize}};
}

protocol::Result<Request, protocol::ForwardFault> Request::forward(int port, const QByteArray& data) {
    // The console's own builder, so that both paths put the same frame on the line.
    const auto built = protocol::ForwardFrame::build(protocol::toHexText(data), QString::number(port));
    if (const protocol::ForwardFault* fault = built.faultIf())
        return *fault;
    return Request{Kind::Forward, protocol::parseHexFrame(built.value()), std::nullopt};
}

} // namespace device
