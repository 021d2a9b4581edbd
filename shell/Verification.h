// SPDX-License-Identifier: MIT
#pragma once

#include "config/Profile.h"
#include "protocol/Reply.h"
#include "shell/CompareMarks.h"

#include <optional>

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
    // Marks the lists that differ, counts them in the status line and says so in the log; nullopt,
    // and nothing shown, when nothing is expected.
    std::optional<int> compare(const protocol::PortConfiguration& configuration);
    void clearMarks();

private:
    struct Expected {
        config::Profile profile; // without network values: a port-sync reply carries none
        QString source;          // "写入的配置", "打开的配置"
    };
    CompareMarks m_marks;
    StatusLine& m_status;
    traffic::TrafficLog& m_log;
    std::optional<Expected> m_expected;
};

} // namespace shell
