// SPDX-License-Identifier: MIT
#include "shell/Verification.h"

#include "config/NetworkFrame.h"
#include "config/ProfileDiff.h"
#include "config/ui/Dialog2.h"
#include "protocol/HexText.h"
#include "shell/StatusLine.h"
#include "traffic/TrafficLog.h"

#include <utility>

namespace shell {

void Verification::expect(const config::Profile& profile, const QString& source) {
    m_expected = Expected{profile, source};
    if (profile.network)
        m_network = profile.network;
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
    m_log.append(traffic::Kind::Event, {}, CompareMarks::summary(differences, m_expected->source));
    if (!verifying)
        return std::nullopt;
    return differences.empty() ? QStringLiteral("校验完成：设备中的配置与写入的一致。")
                               : QStringLiteral("校验完成：设备有 %1 处与写入的配置不同，已在面板上标出。")
                                     .arg(differences.size());
}

void Verification::expectNetwork(const QString& frame) {
    m_network = config::NetworkFrame::decode(protocol::parseHexFrame(frame));
}

void Verification::compareNetwork(const protocol::NetworkParameters& device, config::Dialog2& dialog) {
    int differences = 0;
    for (int i = 0; i < protocol::frame::NetworkOctets; ++i) {
        const bool differs = m_network && m_network->octets[i] != device.octets[i];
        differences += differs;
        dialog.markOctet(
            i, differs ? QStringLiteral("应为 %1，设备为 %2").arg(m_network->octets[i]).arg(device.octets[i])
                       : QString());
    }
    if (m_network)
        m_log.append(traffic::Kind::Event, {},
                     differences ? QStringLiteral("比较: 网络参数有 %1 处不同").arg(differences)
                                 : QStringLiteral("比较: 网络参数一致"));
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
