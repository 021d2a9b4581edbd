// SPDX-License-Identifier: MIT
#include "protocol/ForwardFrame.h"

#include "protocol/Frame.h"
#include "protocol/HexText.h"

namespace protocol {

Result<QString, ForwardFault> ForwardFrame::build(const QString& command, const QString& portText) {
    if (command.isEmpty())
        return ForwardFault::Empty;
    QString digits = command;
    digits.remove(QLatin1Char(' '));
    if (digits.isEmpty())
        return ForwardFault::Blank;
    // Only a..f are folded, one character at a time: a full Unicode upper-casing would turn a
    // ligature such as U+FB00 into the two valid digits "FF".
    for (QChar& c : digits) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'f')
            c = QChar(char16_t(u - u'a' + u'A'));
        else if (!((u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F')))
            return ForwardFault::IllegalChar;
    }
    if (digits.size() % 2 != 0)
        digits.chop(1);
    const qsizetype dataBytes = digits.size() / 2;
    if (dataBytes > frame::MaxForwardData)
        return ForwardFault::TooLong;

    // QString::toInt stops at a NUL character and ignores what follows, so "1" + NUL + anything
    // would pass as port 1.
    bool ok = false;
    const int port = portText.contains(QChar(u'\0')) ? 0 : portText.toInt(&ok);
    if (!ok || port < 1 || port > frame::PortCount)
        return ForwardFault::BadPort;

    return QStringLiteral("40") + hexByte(quint8(dataBytes + 3)) + QStringLiteral("DD") +
           hexByte(quint8(port)) + digits + QStringLiteral("23");
}

QString ForwardFrame::messageFor(ForwardFault fault) {
    switch (fault) {
    case ForwardFault::Empty:
        return QStringLiteral("命令为空!");
    case ForwardFault::IllegalChar:
        return QStringLiteral("命令中含有非法字符!");
    case ForwardFault::TooLong:
        return QStringLiteral("命令过长,最多只能转发252个字节!");
    case ForwardFault::BadPort:
        return QStringLiteral("转发串口无效!");
    case ForwardFault::Blank:
        break;
    }
    return {};
}

} // namespace protocol
