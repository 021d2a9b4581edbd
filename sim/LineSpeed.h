// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

namespace sim {

// The output speed, in baud, that the user of a terminal set on it: what the device would hear
// the program send at. Read through TCGETS2, so that rates without a B constant (14400, 76800),
// which QSerialPort sets with BOTHER, come back as they were set. nullopt when `fd` is no
// terminal.
std::optional<int> lineSpeed(int fd);

} // namespace sim
