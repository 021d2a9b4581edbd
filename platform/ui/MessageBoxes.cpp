// SPDX-License-Identifier: MIT
#include "platform/ui/MessageBoxes.h"

namespace platform {

void MessageBoxes::show(const QString& text, const QString& title, Icon icon) {
    const std::pair<QString, QString> box{title, text};
    if (m_open.contains(box))
        return;
    m_open.append(box);
    present(text, title, icon);
    m_open.removeOne(box);
}

} // namespace platform
