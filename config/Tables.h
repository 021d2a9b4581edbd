// SPDX-License-Identifier: MIT
#pragma once

#include "config/OptionTable.h"

#include <QString>

#include <optional>

// The seven option tables of the port panels and the encoding of what a list shows into the codes
// of the port-set frame. The tables are defined once, in Tables.cpp.
namespace config::tables {

const OptionTable& baudRates();    // Table 1: "1200" .. "115200", code = rate / 1200
const OptionTable& dataBits();     // Table 2: "5" .. "8", 2-bit codes
const OptionTable& stopBits();     // Table 3: "1", "2", 1-bit codes
const OptionTable& parities();     // Table 4: "无" .. "空校验", 3-bit codes
const OptionTable& functions();    // Table 5: "RS232", "RS485半双工", "RS485全双工"
const OptionTable& outputSwitch(); // Table 6: "允许" = 1, "禁止" = 0
const OptionTable& forwardPorts(); // Table 7: "1" .. "8"

// A whole number of baud that is a multiple of 1200 gives its code, rate / 1200, when that fits the
// frame's byte (1..255); anything else ("", "fast", "600", "12345", "9600.5") gives nullopt.
std::optional<quint8> encodeBaud(const QString& text);
// Compared as numbers, so "08" is 8; anything that matches no entry gives nullopt.
std::optional<quint8> encodeDataBits(const QString& text);
std::optional<quint8> encodeStopBits(const QString& text);
// Compared exactly with the entries.
std::optional<quint8> encodeParity(const QString& text);
std::optional<quint8> encodeFunction(const QString& text);
// The output switch is read by position: 0 -> 0x01, 1 -> 0x00, anything else nullopt.
std::optional<quint8> encodeOutputSwitch(int position);

// The three line settings packed as bits 5-3 parity, 2 stop bits, 1-0 data bits.
struct LineCodes {
    quint8 parity = 0;
    quint8 stopBits = 0;
    quint8 dataBits = 0;
    bool operator==(const LineCodes&) const = default;
};
quint8 encodeLineByte(const LineCodes& codes);
LineCodes decodeLineByte(quint8 lineByte);

} // namespace config::tables
