// SPDX-License-Identifier: MIT
#include "shell/ProfileActions.h"

#include "config/ProfileFile.h"
#include "config/ui/Dialog2.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/MessageBoxes.h"
#include "shell/PanelLists.h"

#include <algorithm>

namespace shell {

namespace {

const QString kFilters = QStringLiteral("配置文件 (*.json);;所有文件 (*)");

} // namespace

ProfileActions::ProfileActions(const PanelLists& lists, platform::FileDialogs& files,
                               platform::MessageBoxes& messages, QWidget* window)
    : m_lists(lists), m_files(files), m_messages(messages), m_window(window) {}

void ProfileActions::warn(const QString& text) {
    m_messages.show(text, QStringLiteral("注意"), platform::MessageBoxes::Icon::Information);
}

QString ProfileActions::save(const config::Dialog2* network) {
    // Checked before a file is asked for: panels that cannot be written cannot be saved either.
    protocol::Result<config::Profile, config::PanelFault> made = config::Profile::fromPanels(m_lists.read());
    if (const config::PanelFault* fault = made.faultIf()) {
        warn(QStringLiteral("配置未保存: ") + fault->message());
        return {};
    }
    config::Profile profile = made.value();
    if (network) {
        const config::OctetTexts boxes = network->octetTexts();
        const bool empty =
            std::all_of(boxes.begin(), boxes.end(), [](const QString& box) { return box.isEmpty(); });
        if (!empty) {
            const auto frame = config::NetworkFrame::build(boxes);
            if (const config::BoxFault* fault = frame.faultIf()) {
                warn(QStringLiteral("配置未保存: 网络参数的第%1个值为空或无效,请改正或清空网络参数后再保存。")
                         .arg(fault->index + 1));
                return {};
            }
            profile.network = config::NetworkFrame::decode(QByteArray::fromHex(frame.value().toLatin1()));
        }
    }
    const QString file = m_files.saveFileName(m_window, QStringLiteral("保存配置"),
                                              QStringLiteral("expander-profile.json"), kFilters);
    if (file.isEmpty())
        return {};
    if (const auto written = config::ProfileFile::write(file, profile); !written) {
        warn(QStringLiteral("无法保存配置文件:\n") + written.fault().message());
        return {};
    }
    return file;
}

std::optional<ProfileActions::Opened> ProfileActions::open(const std::function<config::Dialog2&()>& network) {
    const QString file = m_files.openFileName(m_window, QStringLiteral("打开配置"), kFilters);
    if (file.isEmpty())
        return std::nullopt;
    const protocol::Result<config::Profile, config::ProfileFault> read = config::ProfileFile::read(file);
    if (const config::ProfileFault* error = read.faultIf()) {
        const QString field = error->fieldName(config::Language::Chinese);
        warn(QStringLiteral("配置文件 %1 无法打开，各串口参数保持不变：\n%2%3")
                 .arg(error->file, field.isEmpty() ? QString() : field + QStringLiteral("："),
                      error->problem.text(config::Language::Chinese)));
        return std::nullopt;
    }
    const config::Profile& profile = read.value();
    m_lists.show(profile.toPanels());
    if (profile.network) {
        config::Dialog2& dialog = network();
        for (int i = 0; i < protocol::frame::NetworkOctets; ++i)
            dialog.setOctetText(i, QString::number(profile.network->octets[i]));
    }
    return Opened{profile, file};
}

} // namespace shell
