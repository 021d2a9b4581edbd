// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// Where running device simulators announce their virtual ports: one symbolic link per simulated
// device in a runtime folder, named after the simulator's process, pointing at the device's main
// pseudo-terminal. This is the reading side; the simulator makes and removes its own entries.
namespace platform {

class SimRegistry {
public:
    // Empty when the user has no private runtime folder.
    static QString directory();
    // "sim<pid>" for a simulator's only device, "sim<pid>-<device>" for device 1, 2, ... of several.
    static QString entryName(qint64 pid, int device);
    // The entries that provably belong to a running simulator; empty where there is no /proc.
    static QStringList ports();
};

} // namespace platform
