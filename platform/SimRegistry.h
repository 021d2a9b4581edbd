#pragma once

#include <QString>
#include <QStringList>

// Where running device simulators announce their virtual ports: one symbolic link per port in a
// runtime folder, named after the simulator's process, pointing at the pseudo-terminal.
namespace platform {

class SimRegistry {
public:
    static QString directory();
    // Creates the link for `devicePath` on behalf of this process; returns the link's path, or
    // an empty text when it could not be made.
    static QString add(const QString& devicePath);
    static void remove(const QString& linkPath);
    // The links of simulators that are still running and whose device still exists.
    static QStringList ports();
};

} // namespace platform
