// SPDX-License-Identifier: MIT
#include "config/Tables.h"

#include <array>
#include <cmath>

namespace config::tables {

namespace {

constexpr std::array<Option, 10> kBaud{{{u"1200", 0x01},
                                        {u"2400", 0x02},
                                        {u"4800", 0x04},
                                        {u"9600", 0x08},
                                        {u"14400", 0x0C},
                                        {u"19200", 0x10},
                                        {u"38400", 0x20},
                                        {u"57600", 0x30},
                                        {u"76800", 0x40},
                                        {u"115200", 0x60}}};
constexpr std::array<Option, 4> kDataBits{{{u"5", 0}, {u"6", 1}, {u"7", 2}, {u"8", 3}}};
constexpr std::array<Option, 2> kStopBits{{{u"1", 0}, {u"2", 1}}};
constexpr std::array<Option, 5> kParity{
    {{u"无", 0}, {u"奇校验", 1}, {u"偶校验", 3}, {u"1校验", 5}, {u"空校验", 7}}};
constexpr std::array<Option, 3> kFunction{{{u"RS232", 0x02}, {u"RS485半双工", 0x03}, {u"RS485全双工", 0x01}}};
constexpr std::array<Option, 2> kOutputSwitch{{{u"允许", 0x01}, {u"禁止", 0x00}}};
constexpr std::array<Option, 8> kForwardPorts{
    {{u"1", 1}, {u"2", 2}, {u"3", 3}, {u"4", 4}, {u"5", 5}, {u"6", 6}, {u"7", 7}, {u"8", 8}}};

// A whole text that reads as a finite decimal number; surrounding spaces are allowed.
std::optional<double> number(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// First entry whose value equals the number the text holds.
std::optional<quint8> numericMatch(const OptionTable& table, const QString& text) {
    const std::optional<double> value = number(text);
    if (!value)
        return std::nullopt;
    for (int i = 0; i < table.size(); ++i)
        if (*value == table.textAt(i).toDouble())
            return table.codeAt(i);
    return std::nullopt;
}

} // namespace

const OptionTable& baudRates() {
    static const OptionTable table{kBaud};
    return table;
}
const OptionTable& dataBits() {
    static const OptionTable table{kDataBits};
    return table;
}
const OptionTable& stopBits() {
    static const OptionTable table{kStopBits};
    return table;
}
const OptionTable& parities() {
    static const OptionTable table{kParity};
    return table;
}
const OptionTable& functions() {
    static const OptionTable table{kFunction};
    return table;
}
const OptionTable& outputSwitch() {
    static const OptionTable table{kOutputSwitch};
    return table;
}
const OptionTable& forwardPorts() {
    static const OptionTable table{kForwardPorts};
    return table;
}

std::optional<quint8> encodeBaud(const QString& text) {
    // The device keeps rate / 1200 and would silently round any other rate, so only whole multiples
    // of 1200 whose code fits the frame's byte are taken.
    // Digits only: QString's own conversion would stop at a NUL and take "9600" + NUL + "x".
    const QString digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > 9)
        return std::nullopt;
    for (QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    const qlonglong rate = digits.toLongLong();
    if (rate == 0 || rate % 1200 != 0 || rate / 1200 > 255)
        return std::nullopt;
    return quint8(rate / 1200);
}

std::optional<quint8> encodeDataBits(const QString& text) {
    return numericMatch(dataBits(), text);
}
std::optional<quint8> encodeStopBits(const QString& text) {
    return numericMatch(stopBits(), text);
}
std::optional<quint8> encodeParity(const QString& text) {
    return parities().codeOfText(text);
}
std::optional<quint8> encodeFunction(const QString& text) {
    return functions().codeOfText(text);
}

std::optional<quint8> encodeOutputSwitch(int position) {
    if (position < 0 || position >= outputSwitch().size())
        return std::nullopt;
    return outputSwitch().codeAt(position);
}

quint8 encodeLineByte(const LineCodes& codes) {
    return quint8(((codes.parity & 7) << 3) | ((codes.stopBits & 1) << 2) | (codes.dataBits & 3));
}

LineCodes decodeLineByte(quint8 lineByte) {
    // Bits 7-6 carry nothing and are ignored.
    return {quint8((lineByte >> 3) & 7), quint8((lineByte >> 2) & 1), quint8(lineByte & 3)};
}

} // namespace config::tables
