// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/Frame.h"

#include <QString>

#include <array>

// What the port panels of the main window show, as plain texts: the input of the port-set frame.
namespace config {

struct ExtensionPortTexts {
    QString baud;
    QString dataBits;
    QString stopBits;
    QString parity;
    QString function;
};

struct PortPanels {
    std::array<ExtensionPortTexts, protocol::frame::PortCount> ports;
    QString mainBaud;
    int outputSwitchPosition = -1; // -1: nothing selected
};

} // namespace config
