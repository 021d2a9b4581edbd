// SPDX-License-Identifier: MIT
#include "shell/StatusLine.h"

namespace shell {

StatusLine::StatusLine(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("statusLine"));
    setAccessibleName(QStringLiteral("状态"));
    refresh();
}

void StatusLine::setPort(const QString& name, const QString& settings) {
    m_port = name;
    m_settings = settings;
    refresh();
}

void StatusLine::setState(ConnectionState state) {
    m_state = state;
    refresh();
}

void StatusLine::setDifferences(std::optional<int> count) {
    m_differences = count;
    refresh();
}

void StatusLine::setNote(const QString& note) {
    m_note = note;
    refresh();
}

QString StatusLine::text(const QString& port, const QString& settings, ConnectionState state,
                         std::optional<int> differences, const QString& note) {
    QStringList parts;
    parts.append(port.isEmpty() ? QStringLiteral("未选择串口")
                                : QStringLiteral("串口 %1 %2").arg(port, settings));
    switch (state) {
    case ConnectionState::Closed:
        parts.append(QStringLiteral("已关闭"));
        break;
    case ConnectionState::Open:
        parts.append(QStringLiteral("已打开"));
        break;
    case ConnectionState::Connected:
        parts.append(QStringLiteral("已连接"));
        break;
    }
    if (differences)
        parts.append(*differences == 0 ? QStringLiteral("与配置一致")
                                       : QStringLiteral("%1 处不同").arg(*differences));
    if (!note.isEmpty())
        parts.append(note);
    return parts.join(QStringLiteral(" | "));
}

void StatusLine::refresh() {
    setText(text(m_port, m_settings, m_state, m_differences, m_note));
    // What a screen reader says of the line is what it shows.
    setAccessibleDescription(QLabel::text());
}

} // namespace shell
