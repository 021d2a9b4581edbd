// SPDX-License-Identifier: MIT
#pragma once

#include "device/ConnectFault.h"
#include "device/DeviceFault.h"
#include "platform/SerialControl.h"

#include <QList>
#include <QString>

// How one unit came out, and the exit code the tool returns for a batch of them.
namespace cli {

// In the order of the exit codes: a unit that failed at an earlier step did less, and counts as
// the worse result.
enum class Verdict {
    Passed,     // everything asked of the device was done (and verified, when asked)
    Mismatch,   // the device answered, but holds other values than were written
    Malformed,  // a reply that is no frame, of the wrong size, or with another reply code
    NoAnswer,   // nothing came back at any baud tried, after every attempt
    PortLost,   // the port went away during the run (device unplugged)
    CannotOpen, // the port could not be opened
};

// What the process returns. The codes of the verdicts grow with how early a unit failed, so that
// with several units the exit code is simply the highest of theirs.
enum class ExitCode : int {
    Passed = 0,
    Mismatch = 1,
    BadInput = 2, // usage, profile, units or results file; nothing was sent to any device
    Malformed = 3,
    NoAnswer = 4,
    PortLost = 5,
    CannotOpen = 6,
    NotRecorded = 7, // the units ran, but the results file could not be written
    Unexpected = 8,  // a scan found other than the --expect N units
};

// "passed", "mismatch", "malformed", "no-answer", "port-lost", "cannot-open": the word the JSON
// lines and the results file carry.
QString verdictName(Verdict verdict);
ExitCode exitCode(Verdict verdict);
// Passed for an empty list.
ExitCode worst(const QList<Verdict>& verdicts);

Verdict verdictOf(device::DeviceFault::Kind fault);
// A port where no device was reached: a garbled answer is Malformed, nothing at all NoAnswer.
Verdict verdictOf(device::ConnectFault::Kind fault);
// Why no device was reached, in English: "cannot open: not found", "connect: no answer at 9600,
// 19200 baud", "connect: malformed reply 4002E124: end byte 24"; a port in use names its lock file.
QString connectFailure(const QString& port, const device::ConnectFault& fault, const QList<qint32>& bauds);

// Why a port could not be opened, for people: "not found", "in use by another program",
// "permission denied ...".
QString openFailure(platform::SerialFault error);
// The same for `port`; a port in use names the lock file that holds it, where there is one.
QString openFailure(platform::SerialFault error, const QString& port);

} // namespace cli
