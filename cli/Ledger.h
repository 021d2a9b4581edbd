// SPDX-License-Identifier: MIT
#pragma once

#include "cli/NetworkValues.h"
#include "protocol/Result.h"

#include <QLockFile>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The addresses a units file's * row has handed out, one CSV row each (time, port, ip, mac), shared
// by the stations of a line: locked from the moment it is read until the new addresses are
// appended, so that two batches never hand out one address.
namespace cli {

class Ledger {
public:
    explicit Ledger(const QString& path);

    // Locks the ledger, waiting a while for another station that holds it, and reads it; a ledger
    // that does not exist yet is empty.
    protocol::Result<protocol::Done, QString> open();

    // The highest IP and MAC recorded.
    std::optional<config::Ipv4Address> lastIp() const { return m_lastIp; }
    std::optional<config::MacAddress> lastMac() const { return m_lastMac; }

    // The first of these ports whose values were handed out already, with the address; nullopt
    // when none were.
    std::optional<QString> taken(const QStringList& ports, const std::vector<NetworkValues>& values) const;

    // Appends a row per port and lets go of the lock.
    protocol::Result<protocol::Done, QString> append(const QStringList& ports,
                                                     const std::vector<NetworkValues>& values);

private:
    QString m_path;
    QLockFile m_lock;
    QSet<QString> m_ips;
    QSet<QString> m_macs;
    std::optional<config::Ipv4Address> m_lastIp;
    std::optional<config::MacAddress> m_lastMac;
};

} // namespace cli
