// SPDX-License-Identifier: MIT
#include "config/Describe.h"

#include "config/NetworkFrame.h"
#include "config/PortSetFrame.h"
#include "config/Tables.h"
#include "protocol/HexText.h"
#include "protocol/ReplyDecoder.h"

#include <QStringList>

#include <type_traits>

namespace config::describe {

namespace {

namespace frame = protocol::frame;
using protocol::hexByte;

quint8 at(const QByteArray& bytes, qsizetype i) {
    return quint8(bytes.at(i));
}

QString say(Word w, Language language, const QString& value) {
    return word(w, language).arg(value);
}

QString baud(quint8 code) {
    const auto position = tables::baudRates().positionOfCode(code);
    return position ? tables::baudRates().textAt(*position) : QLatin1Char('?') + hexByte(code);
}

// The baud with the line byte's settings.
QString line(const QString& baudText, quint8 lineByte, Language language) {
    using namespace tables;
    const LineCodes codes = decodeLineByte(lineByte);
    const auto data = dataBits().positionOfCode(codes.dataBits);
    const auto parity = parities().positionOfCode(codes.parity);
    const auto stop = stopBits().positionOfCode(codes.stopBits);
    if (!data || !parity || !stop || (lineByte & 0xC0) != 0)
        return baudText + QLatin1Char(' ') + say(Word::UnknownLine, language, hexByte(lineByte));
    // The usual one-letter parity: the first letter of its English name (N, O, E, M, S).
    const QString letter = entryName(parities(), *parity, Language::English).left(1).toUpper();
    return lineSettings(baudText, letter, dataBits().textAt(*data), stopBits().textAt(*stop));
}

QString function(quint8 code, Language language) {
    const auto position = tables::functions().positionOfCode(code);
    return position ? entryName(tables::functions(), *position, language)
                    : say(Word::UnknownFunction, language, hexByte(code));
}

QString output(quint8 code, Language language) {
    const auto position = tables::outputSwitch().positionOfCode(code);
    return position ? entryName(tables::outputSwitch(), *position, language)
                    : QLatin1Char('?') + hexByte(code);
}

QString wrongSize(const QByteArray& bytes, int expected, Language language) {
    return say(Word::Malformed, language,
               word(Word::WrongSize, language).arg(hexByte(at(bytes, 2))).arg(bytes.size()).arg(expected));
}

} // namespace

QString malformation(const QByteArray& bytes, Language language) {
    constexpr int kSmallestFrame = 4;
    if (!bytes.isEmpty() && at(bytes, 0) != frame::Start)
        return say(Word::StartByte, language, hexByte(at(bytes, 0)));
    if (bytes.size() < 2)
        return word(Word::Incomplete, language).arg(bytes.size()).arg(kSmallestFrame);
    const int length = at(bytes, 1);
    if (length < 2)
        return say(Word::LengthByte, language, hexByte(quint8(length)));
    const qsizetype size = length + 2;
    if (bytes.size() < size)
        return word(Word::Incomplete, language).arg(bytes.size()).arg(size);
    if (at(bytes, size - 1) != frame::End)
        return say(Word::EndByte, language, hexByte(at(bytes, size - 1)));
    if (bytes.size() > size)
        return word(Word::ExtraBytes, language).arg(bytes.size() - size);
    return {};
}

QString lineSettings(const QString& baud, const QString& parity, const QString& dataBits,
                     const QString& stopBits) {
    return QStringList{baud, parity, dataBits, stopBits}.join(QLatin1Char(','));
}

QString portRecord(const protocol::PortRecord& record, Language language) {
    return line(baud(record.baudCode), record.lineByte, language) + QLatin1Char(' ') +
           function(record.functionCode, language);
}

QString portConfiguration(const protocol::PortConfiguration& configuration, Language language) {
    QStringList parts;
    for (int i = 0; i < frame::PortCount; ++i)
        parts.append(
            word(Word::PortField, language).arg(i + 1).arg(portRecord(configuration.ports[i], language)));
    parts.append(say(Word::MainPortField, language, baud(configuration.mainBaudCode)));
    parts.append(say(Word::OutputField, language, output(configuration.outputSwitch, language)));
    return parts.join(QLatin1Char(' '));
}

QString macAddress(const protocol::NetworkParameters& network) {
    QStringList parts;
    for (int i = 0; i < 6; ++i)
        parts.append(hexByte(network.octets[i]));
    return parts.join(QLatin1Char(':'));
}

QString dottedQuad(const protocol::NetworkParameters& network, int first) {
    QStringList parts;
    for (int i = first; i < first + 4; ++i)
        parts.append(QString::number(network.octets[i]));
    return parts.join(QLatin1Char('.'));
}

QString network(const protocol::NetworkParameters& network, Language language) {
    return QStringList{say(Word::MacField, language, macAddress(network)),
                       say(Word::IpField, language, dottedQuad(network, 6)),
                       say(Word::MaskField, language, dottedQuad(network, 10)),
                       say(Word::GatewayField, language, dottedQuad(network, 14))}
        .join(QLatin1Char(' '));
}

QString request(const QByteArray& bytes, Language language) {
    if (const QString why = malformation(bytes, language); !why.isEmpty())
        return say(Word::Malformed, language, why);
    const auto fixed = [&](Word meaning, int size) {
        return bytes.size() == size ? word(meaning, language) : wrongSize(bytes, size, language);
    };
    switch (at(bytes, 2)) {
    case frame::command::Connect:
        return fixed(Word::ConnectRequest, 4);
    case frame::command::PortSync:
        return fixed(Word::ReadPortsRequest, 4);
    case frame::command::Restore:
        return fixed(Word::RestoreRequest, 5);
    case frame::command::NetworkRead:
        return fixed(Word::ReadNetworkRequest, 4);
    case frame::command::PortSet:
        if (const auto codes = PortSetFrame::decode(bytes))
            return say(Word::WritePortsRequest, language, portConfiguration(*codes, language));
        return wrongSize(bytes, frame::PortConfigurationSize, language);
    case frame::command::NetworkWrite:
        if (const auto octets = NetworkFrame::decode(bytes))
            return say(Word::WriteNetworkRequest, language, network(*octets, language));
        return wrongSize(bytes, frame::NetworkParametersSize, language);
    case frame::command::Forward:
        if (bytes.size() < 5)
            return wrongSize(bytes, 5, language);
        return word(Word::ForwardRequest, language).arg(at(bytes, 3)).arg(bytes.size() - 5);
    default:
        return say(Word::UnknownCommand, language, hexByte(at(bytes, 2)));
    }
}

QString reply(const QByteArray& bytes, Language language) {
    if (const QString why = malformation(bytes, language); !why.isEmpty())
        return say(Word::Malformed, language, why);
    return decodedReply(protocol::decodeReply(bytes), bytes, language);
}

QString decodedReply(const protocol::Reply& decoded, const QByteArray& bytes, Language language) {
    return std::visit(
        [&](const auto& r) -> QString {
            using T = std::decay_t<decltype(r)>;
            if constexpr (std::is_same_v<T, protocol::ConnectConfirmed>)
                return word(Word::Connected, language);
            else if constexpr (std::is_same_v<T, protocol::PortSetConfirmed>)
                return word(Word::PortSetDone, language);
            else if constexpr (std::is_same_v<T, protocol::RestoreConfirmed>)
                return word(Word::RestoreDone, language);
            else if constexpr (std::is_same_v<T, protocol::NetworkSetConfirmed>)
                return word(Word::NetworkSetDone, language);
            else if constexpr (std::is_same_v<T, protocol::NetworkParameters>)
                return say(Word::NetworkParameters, language, network(r, language));
            else if constexpr (std::is_same_v<T, protocol::PortConfiguration>)
                return say(Word::PortConfiguration, language, portConfiguration(r, language));
            else {
                static_assert(std::is_same_v<T, protocol::Unrecognised>, "a reply without words");
                if (const QString why = malformation(bytes, language); !why.isEmpty())
                    return say(Word::Malformed, language, why);
                // A well-formed frame the decoder does not act on: a data reply of the wrong
                // size, or a code no request draws.
                switch (at(bytes, 2)) {
                case frame::reply::NetworkParameters:
                    return wrongSize(bytes, frame::NetworkParametersSize, language);
                case frame::reply::PortConfiguration:
                    return wrongSize(bytes, frame::PortConfigurationSize, language);
                default:
                    return say(Word::UnknownReply, language, hexByte(at(bytes, 2)));
                }
            }
        },
        decoded);
}

} // namespace config::describe
