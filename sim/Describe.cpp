#include "sim/Describe.h"

#include "config/Tables.h"
#include "protocol/ReplyDecoder.h"

#include <QStringList>

#include <type_traits>

namespace sim::describe {

namespace {

QString unknown(quint8 code) {
    return QStringLiteral("?%1").arg(code, 2, 16, QLatin1Char('0')).toUpper();
}

QString baud(quint8 code) {
    const auto position = config::tables::baudRates().positionOfCode(code);
    return position ? config::tables::baudRates().textAt(*position) : unknown(code);
}

QString line(quint8 lineByte) {
    using namespace config::tables;
    const LineCodes codes = decodeLineByte(lineByte);
    // The parity list's entries in list order, as the usual one-letter abbreviations.
    static constexpr char16_t kParityLetters[] = u"NOEMS";
    const auto data = dataBits().positionOfCode(codes.dataBits);
    const auto parity = parities().positionOfCode(codes.parity);
    const auto stop = stopBits().positionOfCode(codes.stopBits);
    if (!data || !parity || !stop || (lineByte & 0xC0) != 0)
        return QStringLiteral("line") + unknown(lineByte);
    return dataBits().textAt(*data) + QChar(kParityLetters[*parity]) + stopBits().textAt(*stop);
}

QString function(quint8 code) {
    // The function list's entries in list order; the list itself shows Chinese for RS485.
    static const QString kNames[] = {QStringLiteral("RS232"), QStringLiteral("RS485-half"),
                                     QStringLiteral("RS485-full")};
    const auto position = config::tables::functions().positionOfCode(code);
    return position ? kNames[*position] : QStringLiteral("function") + unknown(code);
}

QString output(quint8 code) {
    const auto position = config::tables::outputSwitch().positionOfCode(code);
    if (!position)
        return unknown(code);
    return *position == 0 ? QStringLiteral("allowed") : QStringLiteral("forbidden");
}

QString octets(const protocol::NetworkParameters& network, int first, int count) {
    QStringList parts;
    for (int i = first; i < first + count; ++i)
        parts.append(QString::number(network.octets[i]));
    return parts.join(QLatin1Char('.'));
}

} // namespace

QString portRecord(const protocol::PortRecord& record) {
    return baud(record.baudCode) + QLatin1Char(' ') + line(record.lineByte) + QLatin1Char(' ') +
           function(record.functionCode);
}

QString portConfiguration(const protocol::PortConfiguration& configuration) {
    QStringList parts;
    for (int i = 0; i < protocol::frame::PortCount; ++i)
        parts.append(QStringLiteral("%1=%2").arg(i + 1).arg(portRecord(configuration.ports[i])));
    parts.append(QStringLiteral("main=") + baud(configuration.mainBaudCode));
    parts.append(QStringLiteral("output=") + output(configuration.outputSwitch));
    return parts.join(QLatin1Char(' '));
}

QString network(const protocol::NetworkParameters& network) {
    QStringList mac;
    for (int i = 0; i < 6; ++i)
        mac.append(QStringLiteral("%1").arg(network.octets[i], 2, 16, QLatin1Char('0')).toUpper());
    return QStringLiteral("mac=%1 ip=%2 mask=%3 gateway=%4")
        .arg(mac.join(QLatin1Char(':')), octets(network, 6, 4), octets(network, 10, 4),
             octets(network, 14, 4));
}

QString reply(const QByteArray& bytes) {
    return std::visit(
        [](const auto& r) -> QString {
            using T = std::decay_t<decltype(r)>;
            if constexpr (std::is_same_v<T, protocol::ConnectConfirmed>)
                return QStringLiteral("connected");
            else if constexpr (std::is_same_v<T, protocol::PortSetConfirmed>)
                return QStringLiteral("port set done");
            else if constexpr (std::is_same_v<T, protocol::RestoreConfirmed>)
                return QStringLiteral("restore done");
            else if constexpr (std::is_same_v<T, protocol::NetworkSetConfirmed>)
                return QStringLiteral("network set done");
            else if constexpr (std::is_same_v<T, protocol::NetworkParameters>)
                return QStringLiteral("network parameters: ") + network(r);
            else if constexpr (std::is_same_v<T, protocol::PortConfiguration>)
                return QStringLiteral("port configuration: ") + portConfiguration(r);
            else
                return QStringLiteral("unrecognised reply");
        },
        protocol::decodeReply(bytes));
}

} // namespace sim::describe
