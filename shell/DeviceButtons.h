// SPDX-License-Identifier: MIT
#pragma once

#include "shell/ConnectionState.h"

#include <QList>

class QAbstractButton;
class QAction;

namespace shell {

// The rule of which device controls work in which connection state, applied to the controls it is
// handed: the port button's caption and name, the connect button while the port is open, the
// device buttons and actions while connected, and the actions that stay usable once connected.
class DeviceButtons {
public:
    struct Controls {
        QAbstractButton* port = nullptr;    // "打开串口" / "关闭串口"
        QAbstractButton* connect = nullptr; // works while the port is open
        QList<QAbstractButton*> device;     // work while connected
        QList<QAction*> deviceActions;      // work while connected
        QList<QAction*> onceConnected;      // work from the first connection to the end of the run
    };

    explicit DeviceButtons(Controls controls) : m_controls(std::move(controls)) {}

    // Shows `state`; false when it is the state shown already, which changes nothing.
    bool set(ConnectionState state);
    ConnectionState state() const { return m_state; }

private:
    Controls m_controls;
    ConnectionState m_state = ConnectionState::Closed;
};

} // namespace shell
