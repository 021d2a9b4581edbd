// SPDX-License-Identifier: MIT
#include "config/Profile.h"

#include "config/Tables.h"
#include "config/Words.h"
#include "protocol/HexText.h"

namespace config {

namespace {

QString unknownCode(quint8 code) {
    return QLatin1Char('?') + protocol::hexByte(code);
}

QString entryText(const OptionTable& table, quint8 code) {
    const std::optional<int> position = table.positionOfCode(code);
    return position ? table.textAt(*position) : unknownCode(code);
}

} // namespace

PortPanels Profile::toPanels() const {
    PortPanels panels;
    for (int i = 0; i < protocol::frame::PortCount; ++i) {
        const PortProfile& port = ports[i];
        panels.ports[i] = {port.baud, port.dataBits, port.stopBits, port.parity, port.function};
    }
    panels.mainBaud = mainBaud;
    panels.outputSwitchPosition = positionOfName(tables::outputSwitch(), output).value_or(-1);
    return panels;
}

protocol::Result<Profile, PanelFault> Profile::fromPanels(const PortPanels& panels) {
    // Through the frame itself, so that the profile can never encode differently from the panels.
    const protocol::Result<QString, PanelFault> frame = PortSetFrame::build(panels);
    if (!frame)
        return frame.fault();
    return fromConfiguration(*PortSetFrame::decode(protocol::parseHexFrame(frame.value())));
}

protocol::Result<protocol::PortConfiguration, PanelFault> Profile::toConfiguration() const {
    const protocol::Result<QString, PanelFault> frame = PortSetFrame::build(toPanels());
    if (!frame)
        return frame.fault();
    return *PortSetFrame::decode(protocol::parseHexFrame(frame.value()));
}

Profile Profile::fromConfiguration(const protocol::PortConfiguration& codes,
                                   const std::optional<protocol::NetworkParameters>& network) {
    using namespace tables;
    Profile profile;
    for (int i = 0; i < protocol::frame::PortCount; ++i) {
        const protocol::PortRecord& record = codes.ports[i];
        const LineCodes line = decodeLineByte(record.lineByte);
        profile.ports[i] = {entryText(functions(), record.functionCode),
                            QString::number(int(record.baudCode) * 1200),
                            entryText(dataBits(), line.dataBits), entryText(stopBits(), line.stopBits),
                            entryText(parities(), line.parity)};
    }
    profile.mainBaud = QString::number(int(codes.mainBaudCode) * 1200);
    profile.output = entryText(outputSwitch(), codes.outputSwitch);
    profile.network = network;
    return profile;
}

} // namespace config
