// SPDX-License-Identifier: MIT
#include "cli/Csv.h"

namespace cli::csv {

namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isLineEnd(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

// Reads records one character at a time, keeping count of lines for the messages.
class Reader {
public:
    explicit Reader(const QString& text) : m_text(text) {
        if (m_text.startsWith(QChar(0xFEFF)))
            m_at = 1;
    }

    protocol::Result<std::vector<Record>, ReadFault> records() {
        std::vector<Record> out;
        while (m_at < m_text.size()) {
            skipBlanks();
            if (m_at >= m_text.size())
                break;
            if (isLineEnd(current())) {
                endLine();
                continue;
            }
            if (current() == QLatin1Char('#')) {
                while (m_at < m_text.size() && !isLineEnd(current()))
                    ++m_at;
                continue;
            }
            Record record{m_line, {}};
            if (std::optional<ReadFault> error = fields(record.fields))
                return *error;
            out.push_back(std::move(record));
        }
        return out;
    }

private:
    QChar current() const { return m_text.at(m_at); }

    void skipBlanks() {
        while (m_at < m_text.size() && isBlank(current()))
            ++m_at;
    }

    // Past one line end: LF, CR LF, or a lone CR.
    void endLine() {
        if (current() == QLatin1Char('\r') && m_at + 1 < m_text.size() &&
            m_text.at(m_at + 1) == QLatin1Char('\n'))
            ++m_at;
        ++m_at;
        ++m_line;
    }

    // The fields of one record, up to and past its line end.
    std::optional<ReadFault> fields(QStringList& fields) {
        for (;;) {
            skipBlanks();
            QString value;
            if (m_at < m_text.size() && current() == QLatin1Char('"')) {
                if (std::optional<ReadFault> error = quoted(value))
                    return error;
                skipBlanks();
                if (m_at < m_text.size() && current() != QLatin1Char(',') && !isLineEnd(current()))
                    return ReadFault{m_line, QStringLiteral("text after a closing quote")};
            } else {
                while (m_at < m_text.size() && current() != QLatin1Char(',') && !isLineEnd(current()))
                    value += m_text.at(m_at++);
                while (!value.isEmpty() && isBlank(value.back()))
                    value.chop(1);
            }
            fields.append(value);
            if (m_at >= m_text.size())
                return std::nullopt;
            if (current() == QLatin1Char(',')) {
                ++m_at;
                continue;
            }
            endLine();
            return std::nullopt;
        }
    }

    std::optional<ReadFault> quoted(QString& value) {
        const int startLine = m_line;
        ++m_at; // the opening quote
        for (;;) {
            if (m_at >= m_text.size())
                return ReadFault{startLine, QStringLiteral("a quoted field is not closed")};
            const QChar c = current();
            if (c == QLatin1Char('"')) {
                if (m_at + 1 < m_text.size() && m_text.at(m_at + 1) == QLatin1Char('"')) {
                    value += c;
                    m_at += 2;
                    continue;
                }
                ++m_at;
                return std::nullopt;
            }
            if (c == QLatin1Char('\n'))
                ++m_line;
            value += c;
            ++m_at;
        }
    }

    const QString& m_text;
    qsizetype m_at = 0;
    int m_line = 1;
};

} // namespace

protocol::Result<std::vector<Record>, ReadFault> read(const QString& text) {
    return Reader(text).records();
}

QString field(const QString& text) {
    const bool quote = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
                       text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
    if (!quote)
        return text;
    QString out = text;
    out.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

QString row(const QStringList& fields) {
    QStringList quoted;
    for (const QString& text : fields)
        quoted.append(field(text));
    return quoted.join(QLatin1Char(',')) + QLatin1Char('\n');
}

} // namespace cli::csv
