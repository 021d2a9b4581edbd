// SPDX-License-Identifier: MIT
#include "config/ProfileDiff.h"

#include "config/Describe.h"

namespace config {

using Field = ProfileDifference::Field;

QString ProfileDifference::path() const {
    const QString key = settingName(field, Language::English);
    return port > 0 ? QStringLiteral("ports[%1].%2").arg(port - 1).arg(key) : key;
}

QString ProfileDifference::listName() const {
    const QString list = settingName(field, Language::Chinese);
    return port > 0 ? QStringLiteral("串口%1 %2").arg(port).arg(list) : list;
}

std::vector<ProfileDifference> ProfileDiff::compare(const Profile& expected, const Profile& actual) {
    std::vector<ProfileDifference> differences;
    const auto check = [&](Field field, int port, const QString& want, const QString& have) {
        if (want != have)
            differences.push_back({field, port, want, have});
    };
    for (int i = 0; i < protocol::frame::PortCount; ++i) {
        const PortProfile& want = expected.ports[i];
        const PortProfile& have = actual.ports[i];
        check(Field::Function, i + 1, want.function, have.function);
        check(Field::Baud, i + 1, want.baud, have.baud);
        check(Field::DataBits, i + 1, want.dataBits, have.dataBits);
        check(Field::StopBits, i + 1, want.stopBits, have.stopBits);
        check(Field::Parity, i + 1, want.parity, have.parity);
    }
    check(Field::MainBaud, 0, expected.mainBaud, actual.mainBaud);
    check(Field::Output, 0, expected.output, actual.output);
    if (const auto& want = expected.network) {
        const auto text = [](const std::optional<protocol::NetworkParameters>& network,
                             Field field) -> QString {
            if (!network)
                return {};
            switch (field) {
            case Field::Mac:
                return describe::macAddress(*network);
            case Field::Ip:
                return describe::dottedQuad(*network, 6);
            case Field::Mask:
                return describe::dottedQuad(*network, 10);
            default:
                return describe::dottedQuad(*network, 14);
            }
        };
        for (Field field : {Field::Mac, Field::Ip, Field::Mask, Field::Gateway})
            check(field, 0, text(want, field), text(actual.network, field));
    }
    return differences;
}

} // namespace config
