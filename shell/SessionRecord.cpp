// SPDX-License-Identifier: MIT
#include "shell/SessionRecord.h"

#include "config/Describe.h"
#include "config/Words.h"
#include "device/OpenFailure.h"
#include "device/ui/FindDeviceDialog.h"
#include "link/PortChoice.h"
#include "link/PortController.h"
#include "platform/PortList.h"
#include "shell/Services.h"
#include "shell/StatusLine.h"
#include "traffic/AnswerWatch.h"
#include "traffic/TrafficLog.h"

namespace shell {

SessionRecord::SessionRecord(serial::PortController& link, const serial::PortChoice& choice,
                             traffic::TrafficLog& log, traffic::AnswerWatch& answers, StatusLine& status,
                             QObject* parent)
    : QObject(parent), m_choice(choice), m_log(log), m_answers(answers), m_status(status) {
    connect(&link, &serial::PortController::opened, this, [this] {
        m_openPort = m_choice.PcPortName;
        m_status.setPort(m_choice.PcPortName, m_choice.settingsString());
        logEvent(QStringLiteral("打开串口 %1 %2").arg(m_choice.PcPortName, m_choice.settingsString()));
    });
    connect(&link, &serial::PortController::closed, this, [this, &answers] {
        answers.clear();
        logEvent(QStringLiteral("关闭串口"));
        showChoice(true);
        m_status.setNote({});
    });
    connect(&answers, &traffic::AnswerWatch::unanswered, this, [this](const QByteArray& request) {
        const QString text =
            QStringLiteral("无应答: ") + config::describe::request(request, config::Language::Chinese);
        m_log.append(traffic::Kind::NoAnswer, request, text);
        m_status.setNote(text);
    });
    connect(&link, &serial::PortController::quiet, this, [this] { m_status.setNote({}); });
}

void SessionRecord::showChoice(bool portClosed) {
    if (portClosed)
        m_status.setPort(m_choice.PcPortName, m_choice.settingsString());
}

std::optional<device::ScanResult> SessionRecord::findDevice(const Services& services, const QString& inUse,
                                                            QWidget* parent) {
    if (!services.serialFactory)
        return std::nullopt;
    device::FindDeviceDialog dialog(services.serialFactory, services.ports.ports(), inUse, parent);
    const std::optional<device::ScanResult> found = dialog.run();
    if (found)
        logEvent(
            QStringLiteral("查找设备: %1 在 %2 波特应答").arg(found->port).arg(found->outcome.value().baud));
    return found;
}

QString SessionRecord::openFailed(platform::SerialFault error) {
    const QString text = config::word(device::openFailureWord(error), config::Language::Chinese);
    logEvent(QStringLiteral("打开串口 %1 失败: %2").arg(m_choice.PcPortName, text));
    return text;
}

void SessionRecord::reply(const protocol::ReplySegment& segment, size_t index, size_t count,
                          const QString& note) {
    // What the window made of the bytes, which is not always what a strict reader would.
    QString meaning = config::describe::decodedReply(segment.reply, segment.bytes, config::Language::Chinese);
    if (count > 1)
        meaning += QStringLiteral(" (同一批 %1/%2)").arg(index + 1).arg(count);
    const bool malformed =
        std::holds_alternative<protocol::Unrecognised>(segment.reply) &&
        !config::describe::malformation(segment.bytes, config::Language::English).isEmpty();
    m_log.append(malformed ? traffic::Kind::Malformed : traffic::Kind::Received, segment.bytes,
                 meaning + note);
    m_answers.replied();
}

void SessionRecord::logEvent(const QString& text) {
    m_log.append(traffic::Kind::Event, {}, text);
}

} // namespace shell
