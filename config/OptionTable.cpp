// SPDX-License-Identifier: MIT
#include "config/OptionTable.h"

namespace config {

QStringList OptionTable::texts() const {
    QStringList list;
    for (const Option& row : m_rows)
        list.append(QString::fromUtf16(row.text));
    return list;
}

QString OptionTable::textAt(int position) const {
    return QString::fromUtf16(m_rows[position].text);
}

std::optional<quint8> OptionTable::codeOfText(const QString& text) const {
    for (const Option& row : m_rows)
        if (text == QString::fromUtf16(row.text))
            return row.code;
    return std::nullopt;
}

std::optional<int> OptionTable::positionOfCode(quint8 code) const {
    for (int i = 0; i < int(m_rows.size()); ++i)
        if (m_rows[i].code == code)
            return i;
    return std::nullopt;
}

} // namespace config
