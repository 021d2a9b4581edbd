// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <optional>

// The lock file a program leaves for a serial port in the system's lock folder (on Unix, as the
// serial-port library and the uucp tools make them, LCK..ttyUSB0): where it is and whose, so that
// an operator can tell who holds the port, or remove a stale lock another user left.
namespace cli {

struct PortLock {
    QString path;
    QString owner;  // the file's owner, as the system names the user
    qint64 pid = 0; // the process it names; 0 when it names none
};

// The lock file of `port` ("/dev/ttyUSB0"), if there is one.
std::optional<PortLock> portLock(const QString& port);

} // namespace cli
