// SPDX-License-Identifier: MIT
#pragma once

#include "cli/Verdict.h"
#include "config/Profile.h"
#include "config/ProfileDiff.h"
#include "protocol/Reply.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// What became of one unit: the port, the baud it answered at, the verdict, and what was written,
// read and compared.
namespace cli {

struct UnitReport {
    QString command{}; // "write", "network read", ...
    QString port{};
    qint32 baud = 0; // the baud the device answered at; 0 when none did
    Verdict verdict = Verdict::Passed;
    QString message{};  // why it did not pass, in English; empty when it passed
    bool inUse = false; // another program holds the port

    std::optional<config::Profile> written{}; // write: the profile as sent, network included
    std::optional<config::Profile> read{};    // read, write --verify: what the device holds
    std::optional<protocol::NetworkParameters> networkWritten{};  // network write
    std::optional<protocol::NetworkParameters> networkRead{};     // network read, network write --verify
    std::optional<std::vector<config::ProfileDifference>> diff{}; // when verified
    int forwardPort = 0;                                          // forward
    QByteArray forwarded{};                                       // forward: the bytes sent on

    qint64 elapsedMs = 0;

    bool operator==(const UnitReport&) const = default;

    // The network parameters the unit got, or holds: what was written, else what was read.
    std::optional<protocol::NetworkParameters> network() const;
};

} // namespace cli
