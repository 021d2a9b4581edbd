#pragma once

#include "sim/FaultPlan.h"

#include <QStringList>

namespace sim {

// The simulator's command line.
struct Options {
    FaultOptions faults;
    int hangupAfter = 0; // 0: never hang up by itself
    bool quiet = false;

    // Parses `arguments` (program name first). Prints the help or the version and exits for
    // --help and --version; on a bad value prints why and exits with status 2.
    static Options parse(const QStringList& arguments);
};

} // namespace sim
