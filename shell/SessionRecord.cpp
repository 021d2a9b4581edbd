// SPDX-License-Identifier: MIT
#include "shell/SessionRecord.h"

#include "config/Describe.h"
#include "link/PortChoice.h"
#include "link/PortController.h"
#include "shell/StatusLine.h"
#include "traffic/AnswerWatch.h"
#include "traffic/TrafficLog.h"

namespace shell {

SessionRecord::SessionRecord(serial::PortController& link, const serial::PortChoice& choice,
                             traffic::TrafficLog& log, traffic::AnswerWatch& answers, StatusLine& status,
                             QObject* parent)
    : QObject(parent), m_choice(choice), m_log(log), m_status(status) {
    connect(&link, &serial::PortController::opened, this, [this] {
        m_openPort = m_choice.PcPortName;
        m_status.setPort(m_choice.PcPortName, m_choice.settingsString());
        event(QStringLiteral("打开串口 %1 %2").arg(m_choice.PcPortName, m_choice.settingsString()));
    });
    connect(&link, &serial::PortController::closed, this, [this, &answers] {
        answers.clear();
        event(QStringLiteral("关闭串口"));
        showChoice(true);
        m_status.setNote({});
    });
    connect(&answers, &traffic::AnswerWatch::unanswered, this, [this](const QByteArray& request) {
        const QString text =
            QStringLiteral("无应答: ") + config::describe::request(request, config::Language::Chinese);
        m_log.append(traffic::Direction::Event, request, text);
        m_status.setNote(text);
    });
    connect(&link, &serial::PortController::quiet, this, [this] { m_status.setNote({}); });
}

void SessionRecord::showChoice(bool portClosed) {
    if (portClosed)
        m_status.setPort(m_choice.PcPortName, m_choice.settingsString());
}

void SessionRecord::event(const QString& text) {
    m_log.append(traffic::Direction::Event, {}, text);
}

} // namespace shell
