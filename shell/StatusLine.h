// SPDX-License-Identifier: MIT
#pragma once

#include "shell/ConnectionState.h"

#include <QLabel>

#include <optional>

// The status line at the bottom of the main window: the PC port and its settings, the connection
// state and, after a comparison, the number of differences; shown from these values alone.
namespace shell {

class StatusLine final : public QLabel {
    Q_OBJECT
public:
    explicit StatusLine(QWidget* parent = nullptr);

    void setPort(const QString& name, const QString& settings);
    void setState(ConnectionState state);
    // nullopt: no comparison since the last write or profile.
    void setDifferences(std::optional<int> count);
    // Something to say at the end until the next reply, such as a request that drew no answer.
    void setNote(const QString& note);

    // "串口 COM3 9600,N,8,1 | 已连接 | 2 处不同"
    static QString text(const QString& port, const QString& settings, ConnectionState state,
                        std::optional<int> differences, const QString& note = {});

private:
    void refresh();

    QString m_port;
    QString m_settings;
    ConnectionState m_state = ConnectionState::Closed;
    std::optional<int> m_differences;
    QString m_note;
};

} // namespace shell
