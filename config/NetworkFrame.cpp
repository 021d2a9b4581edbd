// SPDX-License-Identifier: MIT
#include "config/NetworkFrame.h"

#include "protocol/ReplyDecoder.h"

namespace config {

protocol::Result<QString, BoxFault> NetworkFrame::build(const OctetTexts& boxes) {
    QString text = QStringLiteral("4014CE");
    for (int i = 0; i < int(boxes.size()); ++i) {
        const auto octet = protocol::DecToHexPad(boxes[i], 2);
        if (const protocol::PadFault* fault = octet.faultIf())
            return BoxFault{i, *fault};
        text += octet.value();
    }
    return text + QStringLiteral("23");
}

QByteArray NetworkFrame::encode(const protocol::NetworkParameters& octets) {
    QByteArray bytes = protocol::encodeReply(octets);
    bytes[2] = char(protocol::frame::command::NetworkWrite);
    return bytes;
}

std::optional<protocol::NetworkParameters> NetworkFrame::decode(const QByteArray& bytes) {
    namespace frame = protocol::frame;
    if (bytes.size() != frame::NetworkParametersSize || quint8(bytes.at(1)) != frame::NetworkOctets + 2 ||
        quint8(bytes.at(2)) != frame::command::NetworkWrite)
        return std::nullopt;
    QByteArray reply = bytes;
    reply[2] = char(frame::reply::NetworkParameters);
    const protocol::Reply decoded = protocol::decodeReply(reply);
    const auto* octets = std::get_if<protocol::NetworkParameters>(&decoded);
    return octets ? std::optional(*octets) : std::nullopt;
}

QString NetworkFrame::filterBoxText(const QString& text) {
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text)
        if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.'))
            kept.append(c);
    return kept;
}

bool NetworkFrame::exceedsOctet(const QString& text) {
    // Read the leading number the way the operator sees it: digits, then at most one full stop.
    // Any whole part above 255 exceeds the octet, whatever follows; 255.5 does too.
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    qint64 whole = 0;
    bool fraction = false;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('.')) {
            for (qsizetype k = i + 1;
                 k < text.size() && text.at(k) >= QLatin1Char('0') && text.at(k) <= QLatin1Char('9'); ++k)
                if (text.at(k) != QLatin1Char('0'))
                    fraction = true;
            break;
        }
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        whole = whole * 10 + (c.unicode() - u'0');
        if (whole > 255)
            return true;
    }
    return whole == 255 && fraction;
}

} // namespace config
