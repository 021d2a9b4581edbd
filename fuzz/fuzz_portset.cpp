// SPDX-License-Identifier: MIT
// The port-set frame from arbitrary list texts. Input: 42 lines (UTF-16 after a leading FF FE):
// the output switch position as a number (anything else is "nothing selected"), then for ports
// 1 to 8 the baud rate, data bits, stop bits, parity and function texts, then the main port's
// baud rate, which keeps any further lines. A built frame is well formed and decodes back to the
// entries shown; a refusal names a list that really cannot be encoded.
#include "config/PortSetFrame.h"
#include "config/Tables.h"
#include "fuzz/FuzzSupport.h"
#include "protocol/HexText.h"
#include "protocol/ReplyDecoder.h"

#include <variant>

using namespace config;
using Field = PanelFault::Field;
namespace frame = protocol::frame;

namespace {

constexpr int ListsPerPort = 5;
constexpr int Lines = 1 + ListsPerPort * frame::PortCount + 1;

bool isEntry(const OptionTable& table, const QString& text) {
    return table.texts().contains(text);
}

bool allEntries(const PortPanels& panels) {
    for (const ExtensionPortTexts& port : panels.ports) {
        if (!isEntry(tables::baudRates(), port.baud) || !isEntry(tables::dataBits(), port.dataBits) ||
            !isEntry(tables::stopBits(), port.stopBits) || !isEntry(tables::parities(), port.parity) ||
            !isEntry(tables::functions(), port.function))
            return false;
    }
    return isEntry(tables::baudRates(), panels.mainBaud);
}

// The entry that a code selects when it comes back in a port-sync reply.
QString entryOf(const OptionTable& table, quint8 code) {
    const std::optional<int> position = table.positionOfCode(code);
    FUZZ_CHECK(position.has_value());
    return table.textAt(*position);
}

double numberOf(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    FUZZ_CHECK(ok);
    return value;
}

// A baud code stands for exactly the shown rate: the device would round any other.
void checkBaud(const QString& text, quint8 code) {
    FUZZ_CHECK(code >= 1);
    FUZZ_CHECK(numberOf(text) == 1200.0 * code);
}

void checkBuilt(const QString& text, const PortPanels& panels) {
    FUZZ_CHECK(text.size() == 2 * frame::PortConfigurationSize);
    FUZZ_CHECK(fuzz::isUpperHex(text));
    FUZZ_CHECK(text.startsWith(QStringLiteral("401CCD")));
    FUZZ_CHECK(text.endsWith(QStringLiteral("23")));

    QByteArray bytes = protocol::parseHexFrame(text);
    FUZZ_CHECK(bytes.size() == frame::PortConfigurationSize);
    for (int i = 0; i < frame::PortCount; ++i)
        FUZZ_CHECK((quint8(bytes.at(4 + 3 * i)) & 0xC0) == 0);

    // The device answers a port sync with the same layout under the code FB.
    bytes[2] = char(frame::reply::PortConfiguration);
    const protocol::Reply reply = protocol::decodeReply(bytes);
    const auto* read = std::get_if<protocol::PortConfiguration>(&reply);
    FUZZ_CHECK(read != nullptr);

    for (int i = 0; i < frame::PortCount; ++i) {
        const ExtensionPortTexts& shown = panels.ports[i];
        const protocol::PortRecord& record = read->ports[i];
        checkBaud(shown.baud, record.baudCode);
        const tables::LineCodes line = tables::decodeLineByte(record.lineByte);
        FUZZ_CHECK(tables::encodeLineByte(line) == record.lineByte);
        FUZZ_CHECK(numberOf(entryOf(tables::dataBits(), line.dataBits)) == numberOf(shown.dataBits));
        FUZZ_CHECK(numberOf(entryOf(tables::stopBits(), line.stopBits)) == numberOf(shown.stopBits));
        FUZZ_CHECK(entryOf(tables::parities(), line.parity) == shown.parity);
        FUZZ_CHECK(entryOf(tables::functions(), record.functionCode) == shown.function);
    }
    checkBaud(panels.mainBaud, read->mainBaudCode);
    FUZZ_CHECK(panels.outputSwitchPosition == 0 || panels.outputSwitchPosition == 1);
    FUZZ_CHECK(read->outputSwitch == (panels.outputSwitchPosition == 0 ? 0x01 : 0x00));
}

void checkRefused(const PanelFault& fault, const PortPanels& panels) {
    FUZZ_CHECK(fault.port >= 0 && fault.port <= frame::PortCount);
    FUZZ_CHECK(!fault.message().isEmpty());
    FUZZ_CHECK(!allEntries(panels) || (panels.outputSwitchPosition != 0 && panels.outputSwitchPosition != 1));
    if (fault.port == 0) {
        FUZZ_CHECK(fault.field == Field::MainBaud || fault.field == Field::Output);
        if (fault.field == Field::MainBaud)
            FUZZ_CHECK(!isEntry(tables::baudRates(), panels.mainBaud));
        else
            FUZZ_CHECK(panels.outputSwitchPosition != 0 && panels.outputSwitchPosition != 1);
        return;
    }
    const ExtensionPortTexts& port = panels.ports[fault.port - 1];
    switch (fault.field) {
    case Field::Baud:
        FUZZ_CHECK(!isEntry(tables::baudRates(), port.baud));
        break;
    case Field::DataBits:
        FUZZ_CHECK(!isEntry(tables::dataBits(), port.dataBits));
        break;
    case Field::StopBits:
        FUZZ_CHECK(!isEntry(tables::stopBits(), port.stopBits));
        break;
    case Field::Parity:
        FUZZ_CHECK(!isEntry(tables::parities(), port.parity));
        break;
    case Field::Function:
        FUZZ_CHECK(!isEntry(tables::functions(), port.function));
        break;
    default:
        fuzz::fail("the main port's and the network's settings have no extension port", __FILE__, __LINE__);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QStringList lines = fuzz::fields(fuzz::text(data, size), Lines);

    PortPanels panels;
    bool ok = false;
    panels.outputSwitchPosition = lines.at(0).toInt(&ok);
    if (!ok)
        panels.outputSwitchPosition = -1;
    for (int i = 0; i < frame::PortCount; ++i) {
        const int first = 1 + ListsPerPort * i;
        panels.ports[i] = {lines.at(first), lines.at(first + 1), lines.at(first + 2), lines.at(first + 3),
                           lines.at(first + 4)};
    }
    panels.mainBaud = lines.at(Lines - 1);

    const auto result = PortSetFrame::build(panels);
    if (const QString* text = result.valueIf())
        checkBuilt(*text, panels);
    else
        checkRefused(result.fault(), panels);
    return 0;
}
