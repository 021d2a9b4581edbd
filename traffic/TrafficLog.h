// SPDX-License-Identifier: MIT
#pragma once

#include "traffic/TrafficEntry.h"

#include <QAbstractTableModel>
#include <QList>

#include <functional>
#include <vector>

// What went over the line, newest last, as a table of time, direction, bytes and meaning. The store
// is a ring of fixed capacity: past it, each new row drops the oldest, so a device that floods the
// line costs bounded memory and every append is constant work.
namespace traffic {

class TrafficLog final : public QAbstractTableModel {
    Q_OBJECT
public:
    // 10,000 rows: a minute of a device flooding 10,000 replies a minute, a few megabytes.
    static constexpr int DefaultCapacity = 10000;
    enum Column { TimeColumn, DirectionColumn, BytesColumn, MeaningColumn, ColumnCount };
    using Clock = std::function<QDateTime()>;

    // `clock` stamps the rows; the local time by default.
    explicit TrafficLog(QObject* parent = nullptr, int capacity = DefaultCapacity, Clock clock = {});

    void append(Kind kind, const QByteArray& bytes, const QString& meaning);
    void clear();
    int capacity() const { return m_capacity; }
    // Row 0 is the oldest kept.
    const TrafficEntry& entry(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // "12:00:01.234", "发送", "40 02 F1 23": the columns as shown.
    static QString timeText(const QDateTime& time);
    static QString directionText(Direction direction);
    static QString bytesText(const QByteArray& bytes);
    // The table shows at most ShownBytes of a row's bytes and the tooltip TipBytes, then how many
    // there are: a burst of noise is a kilobyte, and laying out its 3,000 characters at every
    // repaint would stall the window. Copies and files get every byte.
    static constexpr int ShownBytes = 32;
    static constexpr int TipBytes = 256;
    static QString shownBytes(const QByteArray& bytes, int most);

    // The rows (all of them when `rows` is empty) as lines of tab-separated columns, each ending in
    // a line feed: for the clipboard and the text file; `withDate` gives the time its date, as a
    // file kept for later needs.
    QString toText(const QList<int>& rows = {}, bool withDate = false) const;
    // Every row as CSV (RFC 4180: CR LF, fields quoted where needed) under a header line, in UTF-8
    // with a byte-order mark so that spreadsheets read the Chinese; the time with its date.
    QByteArray toCsv() const;

private:
    QString cell(const TrafficEntry& entry, int column) const;

    int m_capacity;
    Clock m_clock;
    std::vector<TrafficEntry> m_ring; // grows to m_capacity, then is overwritten in turn
    int m_first = 0;                  // the ring's slot of row 0
    int m_count = 0;
};

} // namespace traffic
