// SPDX-License-Identifier: MIT
#include "device/OpenFailure.h"

namespace device {

config::Word openFailureWord(platform::SerialError error) {
    using config::Word;
    using platform::SerialError;
    switch (error) {
    case SerialError::DeviceNotFound:
        return Word::PortNotFound;
    case SerialError::InUse:
        return Word::PortInUse;
    case SerialError::Permission:
        return Word::PortPermission;
    case SerialError::Resource:
        return Word::PortLostWhileOpening;
    case SerialError::NoError:
    case SerialError::Open:
    case SerialError::Read:
    case SerialError::Write:
    case SerialError::Timeout:
    case SerialError::Other:
        break;
    }
    return Word::PortCannotOpen;
}

} // namespace device
