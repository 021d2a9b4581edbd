// SPDX-License-Identifier: MIT
#include "shell/Verification.h"

#include "config/ProfileDiff.h"
#include "shell/StatusLine.h"
#include "traffic/TrafficLog.h"

#include <utility>

namespace shell {

void Verification::expect(const config::Profile& profile, const QString& source) {
    m_expected = Expected{profile, source};
    m_expected->profile.network.reset();
    clearMarks();
}

std::optional<QString> Verification::compare(const protocol::PortConfiguration& configuration) {
    const bool verifying = std::exchange(m_verifying, false);
    if (!m_expected)
        return std::nullopt;
    const std::vector<config::ProfileDifference> differences =
        config::ProfileDiff::compare(m_expected->profile, config::Profile::fromConfiguration(configuration));
    m_marks.show(differences);
    m_status.setDifferences(int(differences.size()));
    m_log.append(traffic::Direction::Event, {}, CompareMarks::summary(differences, m_expected->source));
    if (!verifying)
        return std::nullopt;
    return differences.empty() ? QStringLiteral("校验完成：设备中的配置与写入的一致。")
                               : QStringLiteral("校验完成：设备有 %1 处与写入的配置不同，已在面板上标出。")
                                     .arg(differences.size());
}

void Verification::onConnectionState(ConnectionState state) {
    m_verifying = false;
    if (state != ConnectionState::Open)
        clearMarks();
}

void Verification::clearMarks() {
    m_marks.clear();
    m_status.setDifferences(std::nullopt);
}

} // namespace shell
