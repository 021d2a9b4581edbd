#include "protocol/HexText.h"

namespace protocol {

namespace {
int nibble(char16_t u) {
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}
} // namespace

QString toHexText(const QByteArray& bytes) { return QString::fromLatin1(bytes.toHex().toUpper()); }

QByteArray parseHexFrame(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size() / 2);
    int high = -1;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u' ')
            continue;
        const int value = nibble(u);
        if (value < 0)
            break; // everything from here on is ignored
        if (high < 0) {
            high = value;
        } else {
            bytes.append(char((high << 4) | value));
            high = -1;
        }
    }
    return bytes; // a pending high nibble is the unpaired digit and is dropped
}

} // namespace protocol
