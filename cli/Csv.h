// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/Result.h"

#include <QString>
#include <QStringList>

#include <vector>

// Comma-separated values as spreadsheets write and read them: fields that hold a comma, a double
// quote or a line break are quoted, a double quote inside doubled.
namespace cli::csv {

struct Record {
    int line = 0; // where the record starts, from 1
    QStringList fields;
    bool operator==(const Record&) const = default;
};

struct ReadFault {
    int line = 0;
    QString problem;
    bool operator==(const ReadFault&) const = default;
};

// The records of `text`. A byte-order mark is skipped; blank lines and lines that start with '#'
// are no records; spaces around an unquoted field are dropped; CR LF ends a line as LF does.
protocol::Result<std::vector<Record>, ReadFault> read(const QString& text);

// One field as it must be written: quoted when it holds a comma, a double quote or a line break.
QString field(const QString& text);
// The fields joined into one line, with its line feed.
QString row(const QStringList& fields);

} // namespace cli::csv
