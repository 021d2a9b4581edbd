// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

#include "platform/SerialControl.h"
#include "protocol/ReplyDecoder.h"

#include <optional>

namespace device {
struct ScanResult;
}
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
struct Services;

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
    void logEvent(const QString& text);
    // Why the chosen port could not be opened, as the operator is told; into the log as well.
    QString openFailed(platform::SerialFault error);
    // One reply of a burst of `count` into the traffic log, as the window read it.
    void reply(const protocol::ReplySegment& segment, size_t index, size_t count, const QString& note = {});
    // Runs "查找设备" over the system's ports, leaving `inUse` alone, and records what it found.
    std::optional<device::ScanResult> findDevice(const Services& services, const QString& inUse,
                                                 QWidget* parent);

private:
    const serial::PortChoice& m_choice;
    traffic::TrafficLog& m_log;
    traffic::AnswerWatch& m_answers;
    StatusLine& m_status;
    QString m_openPort;
};

} // namespace shell
