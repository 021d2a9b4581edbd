// SPDX-License-Identifier: MIT
#pragma once

#include "cli/NetworkValues.h"
#include "protocol/Result.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The units file: per-unit network values for a batch, as comma-separated values, e.g.
//   port,ip,mac
//   /dev/ttyUSB0,192.168.1.101,00:08:DC:00:00:01
//   /dev/ttyUSB1,192.168.1.102,00:08:DC:00:00:02
//   *,192.168.1.110,00:08:DC:00:00:10
// The header names the columns, in any order and case: port (required), ip, mac, mask, gateway.
// A row gives the values of the unit on its port; an empty cell gives none. The row whose port is
// * gives every other unit of the batch its values, the IP and MAC counted up by one per unit in
// the order of the ports (the mask and gateway as they are), up to its network's broadcast address
// and no further. Without a * row every unit of the batch needs a row, and every row's port must be
// in the batch. Blank lines and lines starting with # are skipped.
namespace cli {

// Why a units file, or the values it gives a batch, were refused: the file, the line and the unit
// at fault where there is one, the field and the problem.
struct UnitsFault {
    QString file;
    int line = 0;
    QString unit;
    QString field;
    QString problem;

    bool operator==(const UnitsFault&) const = default;
    // "units.csv: line 3 (/dev/ttyUSB1): ip: "192.168.1.300" is not an address such as 192.168.1.100"
    QString message() const;
};

class UnitsFile {
public:
    static constexpr qint64 MaxFileSize = 1 << 20;

    // A file with no rows: every unit gets the base values.
    UnitsFile() = default;

    static protocol::Result<UnitsFile, UnitsFault> parse(const QString& text, const QString& fileName);
    static protocol::Result<UnitsFile, UnitsFault> read(const QString& path);

    // The ports the rows name, in the order of the file.
    QStringList ports() const;

    // Moves the * row's first IP and MAC past these (the last a ledger recorded), where they are not
    // already.
    void continueAfter(const std::optional<config::Ipv4Address>& ip,
                       const std::optional<config::MacAddress>& mac);
    // The units of `ports` whose values the * row counts out.
    QStringList countedPorts(const QStringList& ports) const;

    // The values of each unit of `ports`, in that order, over `base` (the profile's or the command
    // line's values; `baseName` names them in a message). Refuses a batch in which two units would
    // get the same IP or MAC address, the * row's addresses would run past the last one or out of
    // its network, a unit's values are no unit's (config::addressProblem), a unit has no row (and
    // there is no * row) or a row's port is not in the batch.
    protocol::Result<std::vector<NetworkValues>, UnitsFault>
    assign(const QStringList& ports, const NetworkValues& base, const QString& baseName) const;

private:
    struct Row {
        int line = 0;
        QString port;
        NetworkValues values;
    };

    QString m_file;
    std::vector<Row> m_rows;
    std::optional<Row> m_start; // the * row
};

} // namespace cli
