// SPDX-License-Identifier: MIT
#include "sim/LineSpeed.h"

// <asm/termbits.h> has struct termios2 and TCGETS2, and clashes with glibc's <termios.h>, so this
// file includes only the kernel's header.
#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace sim {

std::optional<int> lineSpeed(int fd) {
    termios2 settings{};
    if (::ioctl(fd, TCGETS2, &settings) != 0)
        return std::nullopt;
    // The kernel fills c_ospeed for every rate, B constant or not.
    return int(settings.c_ospeed);
}

} // namespace sim
