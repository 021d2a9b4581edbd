// SPDX-License-Identifier: MIT
// The console's forward frame from arbitrary command and port texts. Input: the port text, a line
// feed, then the command text (which may hold further line feeds); UTF-16 after a leading FF FE.
// A built frame is well formed and carries exactly the typed digits; a refusal has its reason.
#include "fuzz/FuzzSupport.h"
#include "protocol/ForwardFrame.h"
#include "protocol/Frame.h"
#include "protocol/HexText.h"

using namespace protocol;

namespace {

// The port list only ever shows "1" .. "8".
bool isListedPort(const QString& portText) {
    return portText.size() == 1 && portText.at(0) >= QLatin1Char('1') && portText.at(0) <= QLatin1Char('8');
}

// The number a port text stands for, read by hand: surrounding white space, a plus sign and
// leading zeros are allowed; -1 for anything else.
int portNumber(const QString& portText) {
    QString t = portText.trimmed();
    if (t.startsWith(QLatin1Char('+')))
        t.remove(0, 1);
    while (t.size() > 1 && t.at(0) == QLatin1Char('0'))
        t.remove(0, 1);
    if (t.size() != 1 || !fuzz::isDecimalDigit(t.at(0)))
        return -1;
    return t.at(0).unicode() - u'0';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QStringList input = fuzz::fields(fuzz::text(data, size), 2);
    const QString& portText = input.at(0);
    const QString& command = input.at(1);

    const auto result = ForwardFrame::build(command, portText);
    const auto refused = [&](ForwardFault fault) { return !result && result.fault() == fault; };

    QString digits = command;
    digits.remove(QLatin1Char(' '));
    digits = fuzz::foldHexCase(digits);
    const bool allHex = fuzz::isUpperHex(digits);
    const qsizetype dataBytes = digits.size() / 2;

    FUZZ_CHECK(refused(ForwardFault::Empty) == command.isEmpty());
    FUZZ_CHECK(refused(ForwardFault::Blank) == (!command.isEmpty() && digits.isEmpty()));
    FUZZ_CHECK(refused(ForwardFault::IllegalChar) == (!digits.isEmpty() && !allHex));
    FUZZ_CHECK(refused(ForwardFault::TooLong) ==
               (!digits.isEmpty() && allHex && dataBytes > frame::MaxForwardData));
    if (refused(ForwardFault::BadPort))
        FUZZ_CHECK(!isListedPort(portText));
    if (!digits.isEmpty() && allHex && dataBytes <= frame::MaxForwardData && isListedPort(portText))
        FUZZ_CHECK(result.ok());

    if (!result) {
        FUZZ_CHECK(ForwardFrame::messageFor(result.fault()).isEmpty() == refused(ForwardFault::Blank));
        return 0;
    }

    const QString& text = result.value();
    FUZZ_CHECK(text.size() % 2 == 0);
    FUZZ_CHECK(text.size() >= 10);
    FUZZ_CHECK(fuzz::isUpperHex(text));
    FUZZ_CHECK(text.startsWith(QStringLiteral("40")));
    FUZZ_CHECK(text.mid(4, 2) == QStringLiteral("DD"));
    FUZZ_CHECK(text.endsWith(QStringLiteral("23")));

    const QByteArray frameBytes = parseHexFrame(text);
    FUZZ_CHECK(frameBytes.size() * 2 == text.size());
    const int length = quint8(frameBytes.at(1));
    FUZZ_CHECK(length == frameBytes.size() - 2);
    FUZZ_CHECK(length <= frame::MaxLength);
    const int port = quint8(frameBytes.at(3));
    FUZZ_CHECK(port >= 1 && port <= frame::PortCount);
    FUZZ_CHECK(port == portNumber(portText));

    // The data are the typed digits in order, an unpaired last digit dropped.
    FUZZ_CHECK(text.mid(8, text.size() - 10) == digits.left(dataBytes * 2));
    return 0;
}
