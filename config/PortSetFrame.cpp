// SPDX-License-Identifier: MIT
#include "config/PortSetFrame.h"

#include "config/Tables.h"
#include "protocol/HexText.h"
#include "protocol/ReplyDecoder.h"

namespace config {

QString PanelFault::message() const {
    if (field == Field::Output)
        return QStringLiteral("\"串口0接收输出\"未选择,请选择\"允许\"或\"禁止\"后再设置!");
    // The device keeps a baud rate as rate / 1200 in one byte: say so, since a typed rate may look fine.
    const bool baud = field == Field::Baud || field == Field::MainBaud;
    const QString hint = baud ? QStringLiteral("(须为1200的整数倍,最大306000)") : QString();
    return QStringLiteral("\"串口%1\"的%2为空或无效%3,请从列表中选择后再设置!")
        .arg(port)
        .arg(settingName(baud ? Field::Baud : field, Language::Chinese), hint);
}

protocol::Result<QString, PanelFault> PortSetFrame::build(const PortPanels& panels) {
    using Field = PanelFault::Field;
    QString text = QStringLiteral("401CCD");
    for (int i = 0; i < protocol::frame::PortCount; ++i) {
        const ExtensionPortTexts& port = panels.ports[i];
        const int number = i + 1;
        // Checked in the panel's reading order, so the notice names the topmost bad list.
        const auto baud = tables::encodeBaud(port.baud);
        if (!baud)
            return PanelFault{number, Field::Baud};
        const auto dataBits = tables::encodeDataBits(port.dataBits);
        if (!dataBits)
            return PanelFault{number, Field::DataBits};
        const auto stopBits = tables::encodeStopBits(port.stopBits);
        if (!stopBits)
            return PanelFault{number, Field::StopBits};
        const auto parity = tables::encodeParity(port.parity);
        if (!parity)
            return PanelFault{number, Field::Parity};
        const auto function = tables::encodeFunction(port.function);
        if (!function)
            return PanelFault{number, Field::Function};
        text += protocol::hexByte(*baud) +
                protocol::hexByte(tables::encodeLineByte({*parity, *stopBits, *dataBits})) +
                protocol::hexByte(*function);
    }
    const auto mainBaud = tables::encodeBaud(panels.mainBaud);
    if (!mainBaud)
        return PanelFault{0, Field::MainBaud};
    const auto output = tables::encodeOutputSwitch(panels.outputSwitchPosition);
    if (!output)
        return PanelFault{0, Field::Output};
    text += protocol::hexByte(*mainBaud) + protocol::hexByte(*output) + QStringLiteral("23");
    return text;
}

QByteArray PortSetFrame::encode(const protocol::PortConfiguration& codes) {
    QByteArray bytes = protocol::encodeReply(codes);
    bytes[2] = char(protocol::frame::command::PortSet);
    return bytes;
}

std::optional<protocol::PortConfiguration> PortSetFrame::decode(const QByteArray& bytes) {
    namespace frame = protocol::frame;
    if (bytes.size() != frame::PortConfigurationSize || quint8(bytes.at(1)) != frame::PortSetPayload + 2 ||
        quint8(bytes.at(2)) != frame::command::PortSet)
        return std::nullopt;
    QByteArray reply = bytes;
    reply[2] = char(protocol::frame::reply::PortConfiguration);
    const protocol::Reply decoded = protocol::decodeReply(reply);
    const auto* codes = std::get_if<protocol::PortConfiguration>(&decoded);
    return codes ? std::optional(*codes) : std::nullopt;
}

} // namespace config
