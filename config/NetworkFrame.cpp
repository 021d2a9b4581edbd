#include "config/NetworkFrame.h"

namespace config {

protocol::Result<QString, BoxFault> NetworkFrame::build(const OctetTexts& boxes) {
    QString text = QStringLiteral("4014CE");
    for (int i = 0; i < int(boxes.size()); ++i) {
        const protocol::PadResult octet = protocol::DecToHexPad(boxes[i], 2);
        if (octet.error != protocol::PadError::None)
            return BoxFault{i, octet.error};
        if (octet.hex.size() != 2) // 65536..99999 pass the codec's checks but have no octet
            return BoxFault{i, protocol::PadError::OutOfRange};
        text += octet.hex;
    }
    return text + QStringLiteral("23");
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
            for (qsizetype k = i + 1; k < text.size() && text.at(k) >= QLatin1Char('0') && text.at(k) <= QLatin1Char('9'); ++k)
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
