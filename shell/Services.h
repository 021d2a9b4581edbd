// SPDX-License-Identifier: MIT
#pragma once

#include "device/Scanner.h"

namespace platform {
class SerialControl;
class PortList;
class MessageBoxes;
class SingleInstance;
class FileDialogs;
} // namespace platform

// The outside world as the main window uses it: real services in the program, fakes in tests.
namespace shell {

struct Services {
    platform::SerialControl& serial;
    platform::PortList& ports;
    platform::MessageBoxes& messages;
    platform::SingleInstance& instance;
    platform::FileDialogs& files;
    // A serial control of its own for each port "查找设备" tries, so the window's port is never used.
    device::Scanner::SerialFactory serialFactory;
};

} // namespace shell
