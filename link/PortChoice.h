// SPDX-License-Identifier: MIT
#pragma once

#include "platform/LineSettings.h"

#include <QString>

#include <optional>

// The operator's choice of PC port and line settings, shared by the settings dialog (which
// writes it) and the port control (which reads it). It lasts for the run only.
namespace serial {

// What the settings dialog's lists show, as read at OK.
struct PortSelection {
    QString portName; // as shown or typed; empty when nothing is chosen
    QString baud;     // e.g. "9600"
    QString parity;   // "None", "Odd", "Even", "Mark" or "Space"
    QString dataBits; // "5" .. "8"
    QString stopBits; // "1", "1.5" or "2"
};

struct PortChoice {
    QString PcPortName; // the port is opened by this name; empty: no port chosen
    QString PcPortBaud;
    QString PcPortParity; // N, O, E, M or S
    int PcPortDataBits = 0;
    std::optional<platform::LineSettings::StopBits> PcPortStopBits;
    bool PcPortChosen = false;

    // Takes over what the dialog shows; a text that cannot be read leaves its value as it was.
    // PcPortChosen is the caller's to set.
    void apply(const PortSelection& selection);
    // "9600,N,8,1", "9600,E,7,1.5", ...
    QString settingsString() const;
    // The settings to open with, or nullopt when some value is missing or unusable.
    std::optional<platform::LineSettings> lineSettings() const;
};

} // namespace serial
