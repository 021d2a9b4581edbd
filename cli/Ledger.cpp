// SPDX-License-Identifier: MIT
#include "cli/Ledger.h"

#include "cli/Csv.h"
#include "config/Describe.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace cli {

namespace {

constexpr int kWaitMs = 10000; // another station appends a few rows: far less than this

QString ipText(const NetworkValues& values) {
    return values.ip ? config::describe::dottedQuad(values.applyTo({}), 6) : QString();
}

QString macText(const NetworkValues& values) {
    return values.mac ? config::describe::macAddress(values.applyTo({})) : QString();
}

} // namespace

Ledger::Ledger(const QString& path) : m_path(path), m_lock(path + QStringLiteral(".lock")) {}

protocol::Result<protocol::Done, QString> Ledger::open() {
    if (const QFileInfo info(m_path); info.exists() && !info.isFile())
        return m_path + QStringLiteral(": is not a regular file");
    m_lock.setStaleLockTime(0); // a lock is only stale when its process is gone
    if (!m_lock.tryLock(kWaitMs))
        return m_path + (m_lock.error() == QLockFile::LockFailedError
                             ? QStringLiteral(": another station holds %1.lock").arg(m_path)
                             : QStringLiteral(": %1.lock cannot be made").arg(m_path));
    QFile file(m_path);
    if (!file.exists())
        return protocol::Done{};
    if (!file.open(QIODevice::ReadOnly))
        return m_path + QStringLiteral(": cannot be read: ") + file.errorString();
    const auto records = csv::read(QString::fromUtf8(file.readAll()));
    if (!records)
        return m_path +
               QStringLiteral(": line %1: %2").arg(records.fault().line).arg(records.fault().problem);
    for (const csv::Record& record : records.value()) {
        if (record.fields.value(0) == u"time")
            continue; // the header
        const QString ip = record.fields.value(2);
        const QString mac = record.fields.value(3);
        const auto ipValue = config::parseIpv4(ip);
        const auto macValue = config::parseMac(mac);
        if (record.fields.size() != 4 || (!ip.isEmpty() && !ipValue) || (!mac.isEmpty() && !macValue))
            return m_path + QStringLiteral(": line %1: is not time,port,ip,mac").arg(record.line);
        if (ipValue) {
            m_ips.insert(ip);
            m_lastIp = m_lastIp ? std::max(*m_lastIp, *ipValue) : *ipValue;
        }
        if (macValue) {
            m_macs.insert(macText(NetworkValues{.mac = macValue}));
            m_lastMac = m_lastMac ? std::max(*m_lastMac, *macValue) : *macValue;
        }
    }
    return protocol::Done{};
}

std::optional<QString> Ledger::taken(const QStringList& ports,
                                     const std::vector<NetworkValues>& values) const {
    for (qsizetype i = 0; i < ports.size(); ++i) {
        const NetworkValues& unit = values[size_t(i)];
        if (unit.ip && m_ips.contains(ipText(unit)))
            return QStringLiteral("%1: ip %2 was handed out already (%3)")
                .arg(ports[i], ipText(unit), m_path);
        if (unit.mac && m_macs.contains(macText(unit)))
            return QStringLiteral("%1: mac %2 was handed out already (%3)")
                .arg(ports[i], macText(unit), m_path);
    }
    return std::nullopt;
}

protocol::Result<protocol::Done, QString> Ledger::append(const QStringList& ports,
                                                         const std::vector<NetworkValues>& values) {
    QFile file(m_path);
    const bool fresh = !file.exists() || file.size() == 0;
    QString rows = fresh ? csv::row({QStringLiteral("time"), QStringLiteral("port"), QStringLiteral("ip"),
                                     QStringLiteral("mac")})
                         : QString();
    const QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
    for (qsizetype i = 0; i < ports.size(); ++i)
        rows += csv::row({now, ports[i], ipText(values[size_t(i)]), macText(values[size_t(i)])});
    const QByteArray bytes = rows.toUtf8();
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Append) &&
                         file.write(bytes) == bytes.size() && file.flush();
    m_lock.unlock();
    if (!written)
        return m_path + QStringLiteral(": cannot be written: ") + file.errorString();
    return protocol::Done{};
}

} // namespace cli
