// SPDX-License-Identifier: MIT
#include "shell/Verification.h"

#include "config/ProfileDiff.h"
#include "shell/StatusLine.h"
#include "traffic/TrafficLog.h"

namespace shell {

void Verification::expect(const config::Profile& profile, const QString& source) {
    m_expected = Expected{profile, source};
    m_expected->profile.network.reset();
    clearMarks();
}

std::optional<int> Verification::compare(const protocol::PortConfiguration& configuration) {
    if (!m_expected)
        return std::nullopt;
    const std::vector<config::ProfileDifference> differences =
        config::ProfileDiff::compare(m_expected->profile, config::Profile::fromConfiguration(configuration));
    m_marks.show(differences);
    m_status.setDifferences(int(differences.size()));
    m_log.append(traffic::Direction::Event, {}, CompareMarks::summary(differences, m_expected->source));
    return int(differences.size());
}

void Verification::clearMarks() {
    m_marks.clear();
    m_status.setDifferences(std::nullopt);
}

} // namespace shell
