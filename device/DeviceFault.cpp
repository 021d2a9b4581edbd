// SPDX-License-Identifier: MIT
#include "device/DeviceFault.h"

#include "config/Describe.h"
#include "config/Words.h"
#include "protocol/HexText.h"

namespace device {

using protocol::hexByte;

QString DeviceFault::message() const {
    using config::Language;
    const QString hex = protocol::toHexText(bytes);
    switch (kind) {
    case Kind::NoAnswer:
        return attempts > 1 ? QStringLiteral("no answer after %1 attempts").arg(attempts)
                            : QStringLiteral("no answer");
    case Kind::PortLost:
        return QStringLiteral("the port was lost (device unplugged?)");
    case Kind::PortNotOpen:
        return QStringLiteral("the port is not open");
    case Kind::Malformed: {
        QString why = config::describe::malformation(bytes, Language::English);
        if (why.isEmpty()) // a well-formed frame of the wrong size for its code
            why = config::word(config::Word::WrongSize, Language::English)
                      .arg(hexByte(quint8(bytes.at(2))))
                      .arg(bytes.size())
                      .arg(expected.size);
        return QStringLiteral("malformed reply %1: %2").arg(hex, why);
    }
    case Kind::UnexpectedReply:
        return QStringLiteral("unexpected reply %1 (%2), expected %3")
            .arg(hex, config::describe::reply(bytes, Language::English), hexByte(expected.code));
    }
    return {};
}

} // namespace device
