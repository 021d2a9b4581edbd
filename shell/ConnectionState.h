// SPDX-License-Identifier: MIT
#pragma once

#include <QMetaType>

// Where the main window stands with the device, the one value its device buttons and the port
// button's caption are shown from.
namespace shell {

enum class ConnectionState {
    Closed,    // the port is closed: only "打开串口" of the device buttons works
    Open,      // the port is open: "连接设备" works too
    Connected, // the device has answered the connect request: every device button works
};

} // namespace shell

Q_DECLARE_METATYPE(shell::ConnectionState)
