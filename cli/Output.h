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
//  "written":…,"read":…} with its line feed: the summary first, then the bulky parts. "message" only
// when the unit did not pass; "ip" and "mac" when the unit got or holds network values; "diff" only
// when verified: [{"field":"ports[2].parity","expected":"无","actual":"偶校验"}]; "written" and
// "read" as the command has them: a profile as its file holds it, network parameters, or the
// forwarded bytes.
QString jsonLine(const UnitReport& report);

// PORT, BAUD, RESULT, TIME and DETAILS, a row per unit, columns aligned; a mismatch lists each
// field that differs on a line of its own.
QString table(const std::vector<UnitReport>& reports);
// What `read` prints: the profile of the one unit that passed exactly as its file would hold it;
// with several, each preceded by a line naming its port.
QString profiles(const std::vector<UnitReport>& reports);
// What `scan` prints: a line per port that answered, with its baud.
QString found(const std::vector<UnitReport>& reports);

// "ports[2].parity: wrote 无, device holds 偶校验"
QString differenceText(const config::ProfileDifference& difference);

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
