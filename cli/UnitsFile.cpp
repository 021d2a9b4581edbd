// SPDX-License-Identifier: MIT
#include "cli/UnitsFile.h"

#include "cli/Csv.h"
#include "config/Describe.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace cli {

namespace {

constexpr QStringView kAnyPort = u"*";

enum class Column { Port, Ip, Mac, Mask, Gateway };
constexpr QStringView kColumnNames[] = {u"port", u"ip", u"mac", u"mask", u"gateway"};

QString columnList() {
    QStringList names;
    for (QStringView name : kColumnNames)
        names.append(name.toString());
    return names.join(QStringLiteral(", "));
}

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString ipText(const config::Ipv4Address& ip) {
    protocol::NetworkParameters octets;
    std::copy(ip.begin(), ip.end(), octets.octets.begin() + 6);
    return config::describe::dottedQuad(octets, 6);
}

QString macText(const config::MacAddress& mac) {
    protocol::NetworkParameters octets;
    std::copy(mac.begin(), mac.end(), octets.octets.begin());
    return config::describe::macAddress(octets);
}

} // namespace

QString UnitsFault::message() const {
    QString out = file;
    if (line > 0)
        out += QStringLiteral(": line %1").arg(line);
    if (!unit.isEmpty())
        out += QStringLiteral(" (%1)").arg(unit);
    if (!field.isEmpty())
        out += QStringLiteral(": ") + field;
    return out + QStringLiteral(": ") + problem;
}

protocol::Result<UnitsFile, UnitsFault> UnitsFile::parse(const QString& text, const QString& fileName) {
    const auto records = csv::read(text);
    if (!records)
        return UnitsFault{fileName, records.fault().line, {}, {}, records.fault().problem};
    const std::vector<csv::Record>& list = records.value();
    if (list.empty())
        return UnitsFault{fileName, 0, {}, {}, QStringLiteral("is empty; its first line names the columns")};

    // The header: which column holds which field.
    const csv::Record& header = list.front();
    std::vector<Column> columns;
    for (const QString& name : header.fields) {
        const QString key = name.toLower();
        const auto* found = std::find(std::begin(kColumnNames), std::end(kColumnNames), key);
        if (found == std::end(kColumnNames))
            return UnitsFault{
                fileName,
                header.line,
                {},
                {},
                QStringLiteral("unknown column %1 (expected %2)").arg(quoted(name), columnList())};
        const Column column = Column(found - std::begin(kColumnNames));
        if (std::find(columns.begin(), columns.end(), column) != columns.end())
            return UnitsFault{
                fileName, header.line, {}, {}, QStringLiteral("column %1 appears twice").arg(quoted(key))};
        columns.push_back(column);
    }
    if (std::find(columns.begin(), columns.end(), Column::Port) == columns.end())
        return UnitsFault{fileName, header.line, {}, {}, QStringLiteral("no \"port\" column")};

    UnitsFile file;
    file.m_file = fileName;
    QHash<QString, int> seen; // port -> line
    for (auto record = list.begin() + 1; record != list.end(); ++record) {
        if (record->fields.size() != qsizetype(columns.size()))
            return UnitsFault{fileName,
                              record->line,
                              {},
                              {},
                              QStringLiteral("has %1 fields, the header %2")
                                  .arg(record->fields.size())
                                  .arg(columns.size())};
        Row row{record->line, {}, {}};
        for (size_t i = 0; i < columns.size(); ++i)
            if (columns[i] == Column::Port)
                row.port = record->fields[qsizetype(i)];
        if (row.port.isEmpty())
            return UnitsFault{fileName, row.line, {}, QStringLiteral("port"), QStringLiteral("is empty")};
        if (seen.contains(row.port))
            return UnitsFault{fileName, row.line, row.port, QStringLiteral("port"),
                              QStringLiteral("has a row already, line %1").arg(seen.value(row.port))};
        seen.insert(row.port, row.line);

        for (size_t i = 0; i < columns.size(); ++i) {
            const QString& cell = record->fields[qsizetype(i)];
            if (columns[i] == Column::Port || cell.isEmpty())
                continue;
            const QString field = kColumnNames[int(columns[i])].toString();
            const auto refuse = [&](const QString& example) {
                return UnitsFault{
                    fileName, row.line, row.port, field,
                    QStringLiteral("%1 is not an address such as %2").arg(quoted(cell), example)};
            };
            if (columns[i] == Column::Mac) {
                row.values.mac = config::parseMac(cell);
                if (!row.values.mac)
                    return refuse(QStringLiteral("00:08:DC:01:02:03"));
                continue;
            }
            const std::optional<config::Ipv4Address> address = config::parseIpv4(cell);
            if (!address)
                return refuse(QStringLiteral("192.168.1.100"));
            (columns[i] == Column::Ip     ? row.values.ip
             : columns[i] == Column::Mask ? row.values.mask
                                          : row.values.gateway) = address;
        }
        if (row.port == kAnyPort)
            file.m_start = row;
        else
            file.m_rows.push_back(row);
    }
    return file;
}

protocol::Result<UnitsFile, UnitsFault> UnitsFile::read(const QString& path) {
    // A pipe or a terminal would hold the reader until it closes, perhaps for ever.
    if (const QFileInfo info(path); info.exists() && !info.isFile())
        return UnitsFault{path, 0, {}, {}, QStringLiteral("is not a regular file")};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return UnitsFault{path, 0, {}, {}, QStringLiteral("cannot be read: ") + file.errorString()};
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (bytes.size() > MaxFileSize)
        return UnitsFault{path, 0, {}, {}, QStringLiteral("is larger than %1 bytes").arg(MaxFileSize)};
    return parse(QString::fromUtf8(bytes), path);
}

void UnitsFile::continueAfter(const std::optional<config::Ipv4Address>& ip,
                              const std::optional<config::MacAddress>& mac) {
    if (!m_start)
        return;
    NetworkValues& start = m_start->values;
    if (start.ip && ip && *ip >= *start.ip)
        start.ip = cli::advance(*ip, 1).value_or(*ip); // past the last: refused when counted
    if (start.mac && mac && *mac >= *start.mac)
        start.mac = cli::advance(*mac, 1).value_or(*mac);
}

QStringList UnitsFile::countedPorts(const QStringList& ports) const {
    QStringList counted;
    if (m_start)
        for (const QString& port : ports)
            if (std::none_of(m_rows.begin(), m_rows.end(), [&](const Row& r) { return r.port == port; }))
                counted.append(port);
    return counted;
}

QStringList UnitsFile::ports() const {
    QStringList ports;
    for (const Row& row : m_rows)
        ports.append(row.port);
    return ports;
}

protocol::Result<std::vector<NetworkValues>, UnitsFault>
UnitsFile::assign(const QStringList& ports, const NetworkValues& base, const QString& baseName) const {
    // Where each unit's values came from, for the messages: its row, the * row, or the base.
    struct Origin {
        int line = 0; // 0: the base
        QString unit;
        NetworkValues own; // the values the row gives, before the base fills in the rest
    };
    std::vector<NetworkValues> values;
    std::vector<Origin> origins;
    quint64 started = 0;
    if (!m_file.isEmpty()) { // a units file covers the batch, no more and no less
        for (const Row& row : m_rows)
            if (!ports.contains(row.port))
                return UnitsFault{
                    m_file, row.line, row.port, QStringLiteral("port"),
                    QStringLiteral("is not in the batch (%1)").arg(ports.join(QStringLiteral(", ")))};
        if (!m_start)
            for (const QString& port : ports)
                if (std::none_of(m_rows.begin(), m_rows.end(), [&](const Row& r) { return r.port == port; }))
                    return UnitsFault{m_file,
                                      0,
                                      {},
                                      {},
                                      QStringLiteral("has no row for %1 and no * row; give it one, or use "
                                                     "--no-network to write no network parameters")
                                          .arg(port)};
    }
    for (const QString& port : ports) {
        const auto row =
            std::find_if(m_rows.begin(), m_rows.end(), [&](const Row& r) { return r.port == port; });
        if (row != m_rows.end()) {
            values.push_back(row->values.over(base));
            origins.push_back({row->line, port, row->values});
        } else if (m_start) {
            const QString unit = QStringLiteral("* for %1").arg(port);
            NetworkValues own = m_start->values;
            if (own.ip && !(own.ip = cli::advance(*own.ip, started)))
                return UnitsFault{m_file, m_start->line, unit, QStringLiteral("ip"),
                                  QStringLiteral("%1 + %2 runs past the last address")
                                      .arg(ipText(*m_start->values.ip))
                                      .arg(started)};
            if (own.mac && !(own.mac = cli::advance(*own.mac, started)))
                return UnitsFault{m_file, m_start->line, unit, QStringLiteral("mac"),
                                  QStringLiteral("%1 + %2 runs past the last address")
                                      .arg(macText(*m_start->values.mac))
                                      .arg(started)};
            ++started;
            // Counting up, a unit meets its network's broadcast address before it could leave it.
            const NetworkValues full = own.over(base);
            if (const auto problem = config::addressProblem(full.mac, full.ip, full.mask, full.gateway))
                return UnitsFault{m_file, m_start->line, unit, problem->field,
                                  problem->problem.text(config::Language::English)};
            values.push_back(full);
            origins.push_back({m_start->line, unit, own});
        } else {
            values.push_back(base);
            origins.push_back({0, port, {}});
        }
    }

    for (size_t i = 0; i < values.size(); ++i) {
        const NetworkValues& v = values[i];
        const auto problem = config::addressProblem(v.mac, v.ip, v.mask, v.gateway);
        if (!problem)
            continue;
        if (origins[i].line == 0)
            return UnitsFault{
                baseName, 0, {}, problem->field, problem->problem.text(config::Language::English)};
        return UnitsFault{m_file, origins[i].line, origins[i].unit, problem->field,
                          problem->problem.text(config::Language::English)};
    }

    // No two units with the same address.
    const auto distinct = [&](const QString& field, auto address, auto text) -> std::optional<UnitsFault> {
        QHash<QString, size_t> first;
        for (size_t i = 0; i < values.size(); ++i) {
            const auto& value = address(values[i]);
            if (!value)
                continue;
            const QString shown = text(*value);
            if (!first.contains(shown)) {
                first.insert(shown, i);
                continue;
            }
            const QString& other = ports.at(qsizetype(first.value(shown)));
            if (!address(origins[i].own)) // the base's value
                return UnitsFault{
                    baseName,
                    0,
                    {},
                    {},
                    QStringLiteral("%1 %2 would go to both %3 and %4; give each unit its own in a "
                                   "units file (--units)")
                        .arg(field, shown, other, ports.at(qsizetype(i)))};
            return UnitsFault{m_file, origins[i].line, origins[i].unit, field,
                              QStringLiteral("%1 would go to %2 as well").arg(shown, other)};
        }
        return std::nullopt;
    };
    if (auto error = distinct(
            QStringLiteral("ip"), [](const NetworkValues& v) { return v.ip; }, ipText))
        return *error;
    if (auto error = distinct(
            QStringLiteral("mac"), [](const NetworkValues& v) { return v.mac; }, macText))
        return *error;
    return values;
}

} // namespace cli
