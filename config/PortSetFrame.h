// SPDX-License-Identifier: MIT
#pragma once

#include "config/PortPanels.h"
#include "config/Words.h"
#include "protocol/Reply.h"
#include "protocol/Result.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Builds the 30-byte port-set frame from the panels, refusing panels that carry no valid code.
namespace config {

// Which list of which panel keeps the frame from being built.
struct PanelFault {
    using Field = Setting; // a port's five lists, or MainBaud and Output of the main port
    int port = 0;          // 1..8 for the extension ports, 0 for the main port's panels
    Field field = Field::Baud;

    bool operator==(const PanelFault&) const = default;
    // A notice naming the panel and the list, e.g. for port 3's parity list.
    QString message() const;
};

class PortSetFrame {
public:
    // "401CCD" + eight records (baud code, line byte, function code) + main baud + switch + "23",
    // 60 upper-case characters; or the first incomplete list, in the panels' reading order.
    static protocol::Result<QString, PanelFault> build(const PortPanels& panels);

    // The frame's bytes for codes already encoded; the same bytes build() gives for panels that
    // show these codes. The port-set frame's payload has the port-sync reply's layout.
    static QByteArray encode(const protocol::PortConfiguration& codes);
    // The codes a 30-byte port-set frame carries; nullopt for any other bytes.
    static std::optional<protocol::PortConfiguration> decode(const QByteArray& bytes);
};

} // namespace config
