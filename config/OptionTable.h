// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <span>

// One option list of a port panel: its entries in list order and the wire code of each.
namespace config {

struct Option {
    const char16_t* text;
    quint8 code;
};

class OptionTable {
public:
    constexpr explicit OptionTable(std::span<const Option> rows) : m_rows(rows) {}

    QStringList texts() const;
    int size() const { return int(m_rows.size()); }
    QString textAt(int position) const;
    quint8 codeAt(int position) const { return m_rows[position].code; }

    // The code of an entry whose text is exactly `text`.
    std::optional<quint8> codeOfText(const QString& text) const;
    // The list position showing `code`; nullopt leaves the list as it is.
    std::optional<int> positionOfCode(quint8 code) const;

private:
    std::span<const Option> m_rows;
};

} // namespace config
