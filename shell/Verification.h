// SPDX-License-Identifier: MIT
#pragma once

#include "config/Profile.h"
#include "protocol/Reply.h"
#include "shell/CompareMarks.h"
#include "shell/ConnectionState.h"

#include <optional>

namespace config {
class Dialog2;
}
namespace traffic {
class TrafficLog;
}

namespace shell {

class StatusLine;

// Whether the box holds what was written or opened: the profile the next port-sync reply is compared
// with, the marks on the lists and the status line's count. The marks belong to one box: they go
// when its port closes or a device connects.
class Verification {
public:
    Verification(const PanelLists& lists, StatusLine& status, traffic::TrafficLog& log)
        : m_marks(lists), m_status(status), m_log(log) {}

    // The next port-sync reply is compared with `profile`, what was written or opened.
    void expect(const config::Profile& profile, const QString& source);
    // Marks the lists that differ, counts them in the status line and says so in the log. The one
    // message of a write-and-verify when this reply ends one, nullopt otherwise.
    std::optional<QString> compare(const protocol::PortConfiguration& configuration);
    void clearMarks();
    // The network values the next network reply is compared with: those of the write frame `frame`.
    void expectNetwork(const QString& frame);
    // Marks the network dialog's boxes whose device value differs from the one expected.
    void compareNetwork(const protocol::NetworkParameters& device, config::Dialog2& dialog);
    // A write went out whose port-sync reply is to end in one message.
    void setVerifying(bool verifying) { m_verifying = verifying; }
    bool verifying() const { return m_verifying; }
    // The marks belong to the box they were found on: gone when its port closes or a device connects.
    void onConnectionState(ConnectionState state);

private:
    struct Expected {
        config::Profile profile; // without network values: a port-sync reply carries none
        QString source;          // "写入的配置", "打开的配置"
    };
    CompareMarks m_marks;
    StatusLine& m_status;
    traffic::TrafficLog& m_log;
    std::optional<Expected> m_expected;
    std::optional<protocol::NetworkParameters> m_network; // opened with a profile or written
    bool m_verifying = false;
};

} // namespace shell
