// SPDX-License-Identifier: MIT
#pragma once

#include "config/Profile.h"
#include "config/Words.h"

#include <QString>

#include <vector>

// Field-by-field comparison of the configuration that was meant with the one a device holds.
namespace config {

// One field whose two values differ, both as the texts the window's lists show.
struct ProfileDifference {
    using Field = Setting;
    Field field = Field::Baud;
    int port = 0; // 1..8 for the extension ports' fields, 0 otherwise
    QString expected;
    QString actual; // empty when the device's network parameters were not read

    bool operator==(const ProfileDifference&) const = default;
    // The field as the profile file names it: "ports[3].parity", "mainPort.baud", "network.ip".
    QString path() const;
    // The list or box as the window names it: "串口4 校验位", "串口0 波特率", "串口0接收输出",
    // "网络参数 IP地址".
    QString listName() const;
};

class ProfileDiff {
public:
    // Every field of `expected` whose value `actual` does not hold, in the order of the file: ports
    // 1 to 8 (function, baud, data bits, stop bits, parity), the main port, then the network
    // parameters, which are compared only when `expected` has them.
    static std::vector<ProfileDifference> compare(const Profile& expected, const Profile& actual);
};

} // namespace config
