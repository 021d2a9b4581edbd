// SPDX-License-Identifier: MIT
#include "link/PortChoice.h"

#include "config/Describe.h"

namespace serial {

using StopBits = platform::LineSettings::StopBits;
using Parity = platform::LineSettings::Parity;

void PortChoice::apply(const PortSelection& selection) {
    const QString name = selection.portName.trimmed();
    if (!name.isEmpty())
        PcPortName = name;
    PcPortBaud = selection.baud;
    if (!selection.parity.isEmpty())
        PcPortParity = selection.parity.left(1).toUpper();
    bool ok = false;
    const int dataBits = selection.dataBits.toInt(&ok);
    if (ok)
        PcPortDataBits = dataBits;
    if (selection.stopBits == QLatin1String("1"))
        PcPortStopBits = StopBits::One;
    else if (selection.stopBits == QLatin1String("1.5"))
        PcPortStopBits = StopBits::OneAndHalf;
    else if (selection.stopBits == QLatin1String("2"))
        PcPortStopBits = StopBits::Two;
}

QString PortChoice::settingsString() const {
    QString stop;
    if (PcPortStopBits) {
        switch (*PcPortStopBits) {
        case StopBits::One:
            stop = QStringLiteral("1");
            break;
        case StopBits::OneAndHalf:
            stop = QStringLiteral("1.5");
            break;
        case StopBits::Two:
            stop = QStringLiteral("2");
            break;
        }
    } else {
        stop = QStringLiteral("0");
    }
    return config::describe::lineSettings(PcPortBaud, PcPortParity, QString::number(PcPortDataBits), stop);
}

std::optional<platform::LineSettings> PortChoice::lineSettings() const {
    platform::LineSettings s;
    bool ok = false;
    s.baud = PcPortBaud.toInt(&ok);
    if (!ok || s.baud <= 0)
        return std::nullopt;
    if (PcPortDataBits < 5 || PcPortDataBits > 8 || !PcPortStopBits)
        return std::nullopt;
    s.dataBits = PcPortDataBits;
    s.stopBits = *PcPortStopBits;
    if (PcPortParity == QLatin1String("N"))
        s.parity = Parity::None;
    else if (PcPortParity == QLatin1String("O"))
        s.parity = Parity::Odd;
    else if (PcPortParity == QLatin1String("E"))
        s.parity = Parity::Even;
    else if (PcPortParity == QLatin1String("M"))
        s.parity = Parity::Mark;
    else if (PcPortParity == QLatin1String("S"))
        s.parity = Parity::Space;
    else
        return std::nullopt;
    return s;
}

} // namespace serial
