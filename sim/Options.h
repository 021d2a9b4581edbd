// SPDX-License-Identifier: MIT
#pragma once

#include "sim/FaultPlan.h"

#include <QStringList>

namespace sim {

// The simulator's command line.
struct Options {
    // More devices than this would run out of descriptors (each holds eighteen) and of distinct
    // addresses in the factory network's last octet.
    static constexpr int MaxCount = 32;

    FaultOptions faults;
    int hangupAfter = 0; // 0: never hang up by itself
    bool quiet = false;
    int mainBaud = 0;  // the only speed the main port understands; 0: any speed
    int count = 1;     // devices in this process
    bool pace = false; // requests and replies take their time on the wire
    int stuckPort = 0; // 1..8: a port-set frame leaves this port's record as it was; 0: none

    // Parses `arguments` (program name first). Prints the help or the version and exits for
    // --help and --version; on a bad value prints why and exits with status 2.
    static Options parse(const QStringList& arguments);
};

} // namespace sim
