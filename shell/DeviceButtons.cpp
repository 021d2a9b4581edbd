// SPDX-License-Identifier: MIT
#include "shell/DeviceButtons.h"

#include <QAbstractButton>
#include <QAction>

namespace shell {

bool DeviceButtons::set(ConnectionState state) {
    if (state == m_state)
        return false; // a second connect reply changes nothing
    m_state = state;
    const bool open = state != ConnectionState::Closed;
    const bool connected = state == ConnectionState::Connected;
    const QString caption = open ? QStringLiteral("关闭串口") : QStringLiteral("打开串口");
    m_controls.port->setText(caption);
    m_controls.port->setAccessibleName(caption);
    m_controls.connect->setEnabled(open);
    for (QAbstractButton* button : m_controls.device)
        button->setEnabled(connected);
    for (QAction* action : m_controls.deviceActions)
        action->setEnabled(connected);
    if (connected)
        for (QAction* action : m_controls.onceConnected)
            action->setEnabled(true);
    return true;
}

} // namespace shell
