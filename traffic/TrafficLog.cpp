// SPDX-License-Identifier: MIT
#include "traffic/TrafficLog.h"

namespace traffic {

namespace {

QString csvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// A tab or line break inside a field would break the text's rows and columns.
QString textField(QString text) {
    for (QChar& c : text)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return text;
}

} // namespace

TrafficLog::TrafficLog(QObject* parent, int capacity, Clock clock)
    : QAbstractTableModel(parent), m_capacity(qMax(1, capacity)), m_clock(std::move(clock)) {
    if (!m_clock)
        m_clock = [] { return QDateTime::currentDateTime(); };
}

void TrafficLog::append(Kind kind, const QByteArray& bytes, const QString& meaning) {
    if (m_count == m_capacity) {
        beginRemoveRows({}, 0, 0);
        m_first = (m_first + 1) % m_capacity;
        --m_count;
        endRemoveRows();
    }
    beginInsertRows({}, m_count, m_count);
    TrafficEntry entry{m_clock(), kind, bytes, meaning};
    const int slot = (m_first + m_count) % m_capacity;
    if (slot < int(m_ring.size()))
        m_ring[slot] = std::move(entry);
    else
        m_ring.push_back(std::move(entry));
    ++m_count;
    endInsertRows();
}

void TrafficLog::clear() {
    beginResetModel();
    m_ring.clear();
    m_first = 0;
    m_count = 0;
    endResetModel();
}

const TrafficEntry& TrafficLog::entry(int row) const {
    return m_ring[(m_first + row) % m_capacity];
}

int TrafficLog::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_count;
}

int TrafficLog::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString TrafficLog::cell(const TrafficEntry& entry, int column) const {
    switch (column) {
    case TimeColumn:
        return timeText(entry.time);
    case DirectionColumn:
        return directionText(entry.direction());
    case BytesColumn:
        return shownBytes(entry.bytes, ShownBytes);
    default:
        return entry.meaning;
    }
}

QString TrafficLog::shownBytes(const QByteArray& bytes, int most) {
    if (bytes.size() <= most)
        return bytesText(bytes);
    return bytesText(bytes.left(most)) + QStringLiteral(" … (共 %1 字节)").arg(bytes.size());
}

QVariant TrafficLog::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_count)
        return {};
    const TrafficEntry& e = entry(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return cell(e, index.column());
    case Qt::ToolTipRole: // the bytes and the meaning may be longer than their column
        if (index.column() == BytesColumn)
            return shownBytes(e.bytes, TipBytes);
        return index.column() == MeaningColumn ? e.meaning : QVariant();
    default:
        return {};
    }
}

QVariant TrafficLog::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case TimeColumn:
        return QStringLiteral("时间");
    case DirectionColumn:
        return QStringLiteral("方向");
    case BytesColumn:
        return QStringLiteral("数据");
    case MeaningColumn:
        return QStringLiteral("含义");
    default:
        return {};
    }
}

QString TrafficLog::timeText(const QDateTime& time) {
    return time.toString(QStringLiteral("HH:mm:ss.zzz"));
}

QString TrafficLog::directionText(Direction direction) {
    switch (direction) {
    case Direction::Sent:
        return QStringLiteral("发送");
    case Direction::Received:
        return QStringLiteral("接收");
    case Direction::Event:
        break;
    }
    return QStringLiteral("事件");
}

QString TrafficLog::bytesText(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QString TrafficLog::toText(const QList<int>& rows, bool withDate) const {
    QString text;
    const auto line = [&](int row) {
        const TrafficEntry& e = entry(row);
        const QString date = withDate ? e.time.toString(QStringLiteral("yyyy-MM-dd ")) : QString();
        text += date + timeText(e.time) + QLatin1Char('\t') + directionText(e.direction()) +
                QLatin1Char('\t') + bytesText(e.bytes) + QLatin1Char('\t') + textField(e.meaning) +
                QLatin1Char('\n');
    };
    if (rows.isEmpty()) {
        for (int row = 0; row < m_count; ++row)
            line(row);
    } else {
        for (int row : rows)
            if (row >= 0 && row < m_count)
                line(row);
    }
    return text;
}

QByteArray TrafficLog::toCsv() const {
    QString csv = QStringLiteral("\uFEFF时间,方向,数据,含义\r\n");
    for (int row = 0; row < m_count; ++row) {
        const TrafficEntry& e = entry(row);
        csv += e.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) + QLatin1Char(',') +
               directionText(e.direction()) + QLatin1Char(',') + bytesText(e.bytes) + QLatin1Char(',') +
               csvField(e.meaning) + QStringLiteral("\r\n");
    }
    return csv.toUtf8();
}

} // namespace traffic
