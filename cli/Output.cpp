// SPDX-License-Identifier: MIT
#include "cli/Output.h"

#include "config/Describe.h"
#include "config/ProfileFile.h"
#include "config/Tables.h"
#include "config/Words.h"
#include "protocol/HexText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <array>
#include <numeric>

namespace cli::output {

namespace {

using config::Language;

QString json(const QJsonValue& value) {
    const QByteArray text = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(text.mid(1, text.size() - 2));
}

// A list entry's English name ("even" for 偶校验); the text as it is where no list has it.
QString english(const config::OptionTable& table, const QString& text) {
    const std::optional<int> position = config::positionOfName(table, text);
    return position ? config::entryName(table, *position, Language::English).toLower() : text;
}

QString english(config::ProfileDifference::Field field, const QString& text) {
    using Field = config::ProfileDifference::Field;
    switch (field) {
    case Field::Function:
        return english(config::tables::functions(), text);
    case Field::Parity:
        return english(config::tables::parities(), text);
    case Field::Output:
        return english(config::tables::outputSwitch(), text);
    default:
        return text;
    }
}

// The profile as its file holds it, with the English names, so that a line's "read" can be saved
// and written again.
QJsonObject profileObject(config::Profile profile) {
    for (config::PortProfile& port : profile.ports) {
        port.function = english(config::tables::functions(), port.function);
        port.parity = english(config::tables::parities(), port.parity);
    }
    profile.output = english(config::tables::outputSwitch(), profile.output);
    return QJsonDocument::fromJson(config::ProfileFile::toJson(profile)).object();
}

QString orNull(const QString& text) {
    return text.isEmpty() ? QStringLiteral("null") : json(text);
}

QJsonObject networkObject(const protocol::NetworkParameters& network) {
    namespace describe = config::describe;
    return {{QStringLiteral("mac"), describe::macAddress(network)},
            {QStringLiteral("ip"), describe::dottedQuad(network, 6)},
            {QStringLiteral("mask"), describe::dottedQuad(network, 10)},
            {QStringLiteral("gateway"), describe::dottedQuad(network, 14)}};
}

QJsonObject forwardObject(const UnitReport& report) {
    return {{QStringLiteral("to"), report.forwardPort},
            {QStringLiteral("bytes"), protocol::toHexText(report.forwarded)}};
}

// What a unit that passed shows in the table's last column.
QStringList details(const UnitReport& report) {
    if (report.verdict == Verdict::Mismatch && report.diff) {
        QStringList lines;
        for (const config::ProfileDifference& difference : *report.diff)
            lines.append(differenceText(difference));
        return lines;
    }
    if (report.verdict != Verdict::Passed)
        return {report.message};
    QStringList parts;
    if (report.forwarded.size() > 0)
        parts.append(
            QStringLiteral("%1 bytes to port %2").arg(report.forwarded.size()).arg(report.forwardPort));
    if (const auto network = report.network())
        parts.append(config::describe::network(*network, Language::English));
    if (report.diff)
        parts.append(QStringLiteral("verified"));
    return {parts.join(QLatin1Char(' '))};
}

} // namespace

QString jsonLine(const UnitReport& report) {
    // What a script looks at first, then the bulky parts; every key on every line.
    const auto network = report.network();
    QStringList fields{
        QStringLiteral("\"port\":") + json(report.port),
        QStringLiteral("\"baud\":") +
            (report.baud > 0 ? QString::number(report.baud) : QStringLiteral("null")),
        QStringLiteral("\"command\":") + json(report.command),
        QStringLiteral("\"result\":") + json(verdictName(report.verdict)),
        QStringLiteral("\"message\":") +
            orNull(report.verdict == Verdict::Passed ? QString() : report.message),
        QStringLiteral("\"ip\":") + orNull(network ? config::describe::dottedQuad(*network, 6) : QString()),
        QStringLiteral("\"mac\":") + orNull(network ? config::describe::macAddress(*network) : QString()),
        QStringLiteral("\"elapsedMs\":%1").arg(report.elapsedMs),
    };
    QString diff = QStringLiteral("null");
    if (report.diff) {
        QJsonArray list;
        for (const config::ProfileDifference& difference : *report.diff)
            list.append(
                QJsonObject{{QStringLiteral("field"), fieldText(difference)},
                            {QStringLiteral("expected"), english(difference.field, difference.expected)},
                            {QStringLiteral("actual"), english(difference.field, difference.actual)}});
        diff = json(list);
    }
    fields.append(QStringLiteral("\"diff\":") + diff);
    QString written = QStringLiteral("null");
    if (report.written)
        written = json(profileObject(*report.written));
    else if (report.networkWritten)
        written = json(networkObject(*report.networkWritten));
    else if (report.forwardPort > 0)
        written = json(forwardObject(report));
    fields.append(QStringLiteral("\"written\":") + written);
    QString read = QStringLiteral("null");
    if (report.read)
        read = json(profileObject(*report.read));
    else if (report.networkRead)
        read = json(networkObject(*report.networkRead));
    fields.append(QStringLiteral("\"read\":") + read);
    return QLatin1Char('{') + fields.join(QLatin1Char(',')) + QStringLiteral("}\n");
}

QString table(const std::vector<UnitReport>& reports) {
    const QStringList header{QStringLiteral("PORT"), QStringLiteral("BAUD"), QStringLiteral("RESULT"),
                             QStringLiteral("TIME")};
    std::vector<QStringList> rows{header};
    for (const UnitReport& report : reports)
        rows.push_back({report.port, report.baud > 0 ? QString::number(report.baud) : QStringLiteral("-"),
                        verdictName(report.verdict), QStringLiteral("%1 ms").arg(report.elapsedMs)});
    std::array<qsizetype, 4> widths{};
    for (const QStringList& row : rows)
        for (size_t i = 0; i < widths.size(); ++i)
            widths[i] = std::max(widths[i], row[qsizetype(i)].size());
    const auto line = [&](const QStringList& row, const QString& detail) {
        QString out;
        for (size_t i = 0; i < widths.size(); ++i)
            out += (i == 3 ? row[qsizetype(i)].rightJustified(widths[i]) // the time, aligned on its unit
                           : row[qsizetype(i)].leftJustified(widths[i])) +
                   QStringLiteral("  ");
        return out + detail;
    };
    const qsizetype indent =
        std::accumulate(widths.begin(), widths.end(), qsizetype(0)) + 2 * qsizetype(widths.size());
    QString out = line(header, QStringLiteral("DETAILS")) + QLatin1Char('\n');
    for (size_t r = 0; r < reports.size(); ++r) {
        const QStringList lines = details(reports[r]);
        QString text = line(rows[r + 1], lines.value(0));
        for (qsizetype i = 1; i < lines.size(); ++i)
            text += QLatin1Char('\n') + QString(indent, QLatin1Char(' ')) + lines[i];
        // Trailing spaces of an empty detail are dropped.
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        out += text + QLatin1Char('\n');
    }
    return out;
}

QString profiles(const std::vector<UnitReport>& reports) {
    QString out;
    for (const UnitReport& report : reports) {
        if (!report.read)
            continue;
        if (reports.size() > 1)
            out += QStringLiteral("== %1 at %2 baud\n").arg(report.port).arg(report.baud);
        out += QString::fromUtf8(config::ProfileFile::toJson(*report.read));
    }
    return out;
}

QString found(const std::vector<UnitReport>& reports) {
    // Port, baud, and the box's IP and MAC, so that boxes on one bench can be told apart; a port
    // another program holds, so that a missing box is not taken for a dead one.
    std::vector<QStringList> rows;
    std::array<qsizetype, 3> widths{};
    for (const UnitReport& report : reports) {
        const auto network = report.network();
        if (report.inUse)
            rows.push_back({report.port, QStringLiteral("in use")});
        else if (report.verdict == Verdict::Passed)
            rows.push_back({report.port, QString::number(report.baud),
                            network ? config::describe::dottedQuad(*network, 6) : QStringLiteral("-"),
                            network ? config::describe::macAddress(*network) : QStringLiteral("-")});
        else
            continue;
        for (qsizetype i = 0; i + 1 < rows.back().size(); ++i)
            widths[size_t(i)] = std::max(widths[size_t(i)], rows.back()[i].size());
    }
    QString out;
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i + 1 < row.size(); ++i)
            out += row[i].leftJustified(widths[size_t(i)] + 2);
        out += row.last() + QLatin1Char('\n');
    }
    return out;
}

QString fieldText(const config::ProfileDifference& difference) {
    const QString path = difference.path();
    return difference.port > 0 ? QStringLiteral("port %1 %2").arg(difference.port).arg(path.section(u'.', 1))
                               : path;
}

QString differenceText(const config::ProfileDifference& difference) {
    return QStringLiteral("%1: wrote %2, device holds %3")
        .arg(fieldText(difference), english(difference.field, difference.expected),
             english(difference.field, difference.actual));
}

QString inert(const QString& cell) {
    static const QString kFormulaStarts = QStringLiteral("=+-@\t\r");
    return !cell.isEmpty() && kFormulaStarts.contains(cell.front()) ? QLatin1Char('\'') + cell : cell;
}

QString terminalSafe(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\n') || (u >= 0x7F && u < 0xA0))
            out += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QStringList resultsHeader() {
    return {QStringLiteral("time"),      QStringLiteral("port"),   QStringLiteral("command"),
            QStringLiteral("baud"),      QStringLiteral("result"), QStringLiteral("ip"),
            QStringLiteral("mac"),       QStringLiteral("diff"),   QStringLiteral("message"),
            QStringLiteral("elapsed_ms")};
}

QStringList resultsRow(const UnitReport& report, const QDateTime& time) {
    QString ip;
    QString mac;
    if (const auto network = report.network()) {
        ip = config::describe::dottedQuad(*network, 6);
        mac = config::describe::macAddress(*network);
    }
    QStringList diff;
    for (const config::ProfileDifference& difference :
         report.diff.value_or(std::vector<config::ProfileDifference>{}))
        diff.append(differenceText(difference));
    return {time.toUTC().toString(Qt::ISODateWithMs),
            inert(report.port),
            report.command,
            report.baud > 0 ? QString::number(report.baud) : QString(),
            verdictName(report.verdict),
            ip,
            mac,
            inert(diff.join(QStringLiteral("; "))),
            inert(report.message),
            QString::number(report.elapsedMs)};
}

QString traceLine(const QTime& time, const QString& port, device::DeviceClient::Traffic kind,
                  const QByteArray& bytes) {
    using Traffic = device::DeviceClient::Traffic;
    namespace describe = config::describe;
    QString mark;
    QString meaning;
    switch (kind) {
    case Traffic::Sent:
        mark = QStringLiteral(">");
        meaning = describe::request(bytes, Language::English);
        break;
    case Traffic::Received:
    case Traffic::Malformed:
        mark = QStringLiteral("<");
        meaning = describe::reply(bytes, Language::English);
        break;
    case Traffic::Stray:
        mark = QStringLiteral("<");
        meaning = describe::reply(bytes, Language::English) + QStringLiteral(" (unasked, dropped)");
        break;
    case Traffic::Skipped:
        mark = QStringLiteral("<");
        meaning = QStringLiteral("%1 byte(s) before a start byte, skipped").arg(bytes.size());
        break;
    case Traffic::NoAnswer:
        mark = QStringLiteral("!");
        meaning = QStringLiteral("no answer to ") + describe::request(bytes, Language::English);
        break;
    }
    return QStringLiteral("%1 %2 %3 %4 %5\n")
        .arg(time.toString(QStringLiteral("HH:mm:ss.zzz")), port, mark, protocol::toHexText(bytes), meaning);
}

QString traceNote(const QTime& time, const QString& port, const QString& text) {
    return QStringLiteral("%1 %2 - %3\n").arg(time.toString(QStringLiteral("HH:mm:ss.zzz")), port, text);
}

} // namespace cli::output
