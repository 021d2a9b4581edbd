// SPDX-License-Identifier: MIT
#pragma once

#include "config/Profile.h"

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace config {
class Dialog2;
}
namespace platform {
class FileDialogs;
class MessageBoxes;
} // namespace platform

namespace shell {

class PanelLists;

// "打开配置…" and "保存配置…": the port panels, and the network dialog's values when it holds any, to
// and from a profile file. Nothing is sent either way; a file or panels that cannot be used get a
// message naming what is wrong, and then nothing changes.
class ProfileActions {
public:
    struct Opened {
        config::Profile profile;
        QString file;
    };

    ProfileActions(const PanelLists& lists, platform::FileDialogs& files, platform::MessageBoxes& messages,
                   QWidget* window);

    // Asks for a file and writes the profile there; the file written, or empty.
    // `network`: the network dialog, or nullptr when it has never been made.
    QString save(const config::Dialog2* network);
    // Asks for a file and shows its profile in the panels, and its network values in the dialog
    // `network` gives; nullopt when cancelled or refused.
    std::optional<Opened> open(const std::function<config::Dialog2&()>& network);

private:
    void warn(const QString& text);

    const PanelLists& m_lists;
    platform::FileDialogs& m_files;
    platform::MessageBoxes& m_messages;
    QWidget* m_window;
};

} // namespace shell
