// SPDX-License-Identifier: MIT
#pragma once

#include <QStringView>

// The fixed request texts sent to the expander. The connect and port-sync texts keep their
// lower-case f, as the transmitter accepts either case.
namespace protocol::requests {

inline constexpr QStringView Connect = u"4002f123";
inline constexpr QStringView PortSync = u"4002fb23";
inline constexpr QStringView Restore = u"4003EDEE23";
inline constexpr QStringView NetworkRead = u"4002CA23";

} // namespace protocol::requests
