// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

namespace serial {
class PortController;
struct PortChoice;
} // namespace serial
namespace traffic {
class AnswerWatch;
class TrafficLog;
} // namespace traffic

namespace shell {

class StatusLine;

// What the window records of its port beside the designed window: the port's events in the traffic
// log, and in the status line the port with its settings and a request that drew no answer.
class SessionRecord final : public QObject {
    Q_OBJECT
public:
    SessionRecord(serial::PortController& link, const serial::PortChoice& choice, traffic::TrafficLog& log,
                  traffic::AnswerWatch& answers, StatusLine& status, QObject* parent);

    // The port as it was opened; the choice may change while it stays open.
    QString openPort() const { return m_openPort; }
    // The status line shows the port chosen while none is open.
    void showChoice(bool portClosed);
    void event(const QString& text);

private:
    const serial::PortChoice& m_choice;
    traffic::TrafficLog& m_log;
    StatusLine& m_status;
    QString m_openPort;
};

} // namespace shell
