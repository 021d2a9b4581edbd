// SPDX-License-Identifier: MIT
#include "device/OpenFailure.h"

namespace device {

config::Word openFailureWord(platform::SerialFault error) {
    using config::Word;
    using platform::SerialFault;
    switch (error) {
    case SerialFault::DeviceNotFound:
        return Word::PortNotFound;
    case SerialFault::InUse:
        return Word::PortInUse;
    case SerialFault::Permission:
        return Word::PortPermission;
    case SerialFault::Resource:
        return Word::PortLostWhileOpening;
    case SerialFault::NoError:
    case SerialFault::Open:
    case SerialFault::Read:
    case SerialFault::Write:
    case SerialFault::Timeout:
    case SerialFault::Other:
        break;
    }
    return Word::PortCannotOpen;
}

} // namespace device
