// SPDX-License-Identifier: MIT
#pragma once

#include "config/PortPanels.h"
#include "config/PortSetFrame.h"
#include "protocol/Frame.h"
#include "protocol/Reply.h"
#include "protocol/Result.h"

#include <QString>

#include <array>
#include <optional>

// A device's whole configuration as the window's lists show it: what a profile file holds, what
// the window saves and opens, and what the command line writes to a device and compares.
namespace config {

// One extension port, each value the text of its list's entry.
struct PortProfile {
    QString function; // "RS232", "RS485半双工", "RS485全双工"
    QString baud;     // "9600"
    QString dataBits; // "5" .. "8"
    QString stopBits; // "1", "2"
    QString parity;   // "无", "奇校验", "偶校验", "1校验", "空校验"

    bool operator==(const PortProfile&) const = default;
};

struct Profile {
    std::array<PortProfile, protocol::frame::PortCount> ports; // port 1 first
    QString mainBaud;                                          // "9600"
    QString output;                                            // "允许", "禁止"
    std::optional<protocol::NetworkParameters> network;        // absent: the profile leaves it alone

    bool operator==(const Profile&) const = default;

    // The panels showing this profile; an output text that is no entry selects nothing.
    PortPanels toPanels() const;
    // The panels as a profile: each list's code written back as its entry's text, so that the
    // profile gives the same port-set frame as the panels; the first list without a code refuses.
    static protocol::Result<Profile, PanelFault> fromPanels(const PortPanels& panels);

    // The codes of the port-set frame; exactly what "设置串口参数" sends for toPanels().
    protocol::Result<protocol::PortConfiguration, PanelFault> toConfiguration() const;
    // What a device holds, as a profile. A baud code becomes its rate (code × 1200, any code); a
    // parity, function or output code that matches no entry is kept visibly as "?" and its two
    // hex digits (e.g. "?02"), which no list shows and no profile file accepts, so it is never
    // taken for an entry. Bits 7-6 of a line byte carry nothing and are ignored, as the window does.
    static Profile
    fromConfiguration(const protocol::PortConfiguration& codes,
                      const std::optional<protocol::NetworkParameters>& network = std::nullopt);
};

} // namespace config
