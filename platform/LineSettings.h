// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The line settings a PC serial port is opened with.
namespace platform {

struct LineSettings {
    enum class Parity { None, Odd, Even, Mark, Space };
    enum class StopBits { One, OneAndHalf, Two };

    qint32 baud = 9600;
    int dataBits = 8;
    Parity parity = Parity::None;
    StopBits stopBits = StopBits::One;

    bool operator==(const LineSettings&) const = default;
};

} // namespace platform
