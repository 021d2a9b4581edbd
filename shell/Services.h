#pragma once

namespace platform {
class SerialControl;
class PortList;
class MessageBoxes;
class SingleInstance;
} // namespace platform

// The outside world as the main window uses it: real services in the program, fakes in tests.
namespace shell {

struct Services {
    platform::SerialControl& serial;
    platform::PortList& ports;
    platform::MessageBoxes& messages;
    platform::SingleInstance& instance;
};

} // namespace shell
