// SPDX-License-Identifier: MIT
#pragma once

#include "cli/UnitReport.h"
#include "device/DeviceClient.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>

#include <vector>

// What the tool prints and records: the readable table, one JSON object a line, the rows of the
// results file, and the trace of the frames.
namespace cli::output {

// {"port":…,"baud":…,"command":…,"result":…,"message":…,"ip":…,"mac":…,"elapsedMs":…,"diff":[…],
//  "written":…,"read":…} with its line feed: the summary first, then the bulky parts. Every key is
// on every line, null where it does not apply: "baud" when no baud answered, "message" when the
// unit passed, "ip" and "mac" when the unit got and holds no network values, "diff" when not
// verified: [{"field":"port 3 parity","expected":"none","actual":"even"}]; "written" and "read" as
// the command has them: a profile as its file holds it (with the English names), network
// parameters, or the forwarded bytes.
QString jsonLine(const UnitReport& report);

// PORT, BAUD, RESULT, TIME and DETAILS, a row per unit, columns aligned; a mismatch lists each
// field that differs on a line of its own.
QString table(const std::vector<UnitReport>& reports);
// What `read` prints: the profile of the one unit that passed exactly as its file would hold it;
// with several, each preceded by a line naming its port.
QString profiles(const std::vector<UnitReport>& reports);
// What `scan` prints: a line per port that answered, with its baud, IP and MAC (- when unread),
// and a line per port another program holds.
QString found(const std::vector<UnitReport>& reports);

// "port 3 parity", "mainPort.baud", "network.ip": ports by their number, from 1.
QString fieldText(const config::ProfileDifference& difference);
// "port 3 parity: wrote none, device holds even"
QString differenceText(const config::ProfileDifference& difference);

// A results cell a spreadsheet shows as text: one that starts with = + - @ (or a tab or carriage
// return) would run as a formula, and gets a leading apostrophe.
QString inert(const QString& cell);
// The text with every control character but the line feed shown as \xNN, so that a name read
// from a file cannot move the cursor or change the colours of a terminal.
QString terminalSafe(const QString& text);

// The results file's columns, and one unit's row; `time` in UTC with milliseconds.
QStringList resultsHeader();
QStringList resultsRow(const UnitReport& report, const QDateTime& time);

// "12:00:00.123 /dev/ttyUSB0 > 4002F123 connect": a frame sent (>), received (<), or a request
// that drew nothing (!), with what it means; a line feed ends it.
QString traceLine(const QTime& time, const QString& port, device::DeviceClient::Traffic kind,
                  const QByteArray& bytes);
// "12:00:00.123 /dev/ttyUSB0 - open at 19200 baud"
QString traceNote(const QTime& time, const QString& port, const QString& text);

} // namespace cli::output
