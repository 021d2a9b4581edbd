#pragma once

#include "config/PortPanels.h"
#include "protocol/Result.h"

#include <QString>

// Builds the 30-byte port-set frame from the panels, refusing panels that carry no valid code.
namespace config {

// Which list of which panel keeps the frame from being built.
struct PanelFault {
    enum class Field { Baud, DataBits, StopBits, Parity, Function, OutputSwitch };
    int port = 0; // 1..8 for the extension ports, 0 for the main port's panels
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
};

} // namespace config
