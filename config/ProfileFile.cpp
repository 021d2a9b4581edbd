// SPDX-License-Identifier: MIT
#include "config/ProfileFile.h"

#include "config/AddressText.h"
#include "config/Describe.h"
#include "config/Tables.h"
#include "config/Words.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace config {

namespace {

namespace frame = protocol::frame;

constexpr int kBaudStep = 1200;
constexpr int kMaxBaud = 255 * kBaudStep;

using Fault = std::optional<ProfileFault>;

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString numberText(double value) {
    if (std::trunc(value) == value && std::abs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value);
}

// A JSON value the way the file shows it, for the messages; a list or an object by its type word.
QString shown(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::String:
        return quoted(value.toString());
    case QJsonValue::Double:
        return numberText(value.toDouble());
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Array:
        return QStringLiteral("{list}");
    case QJsonValue::Object:
        return QStringLiteral("{object}");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("{nothing}");
}

QString joined(std::initializer_list<QStringView> names) {
    QStringList list;
    for (QStringView name : names)
        list.append(name.toString());
    return list.join(QStringLiteral(", "));
}

// Reads one file's JSON into a profile, stopping at the first fault.
class Reader {
public:
    explicit Reader(const QString& file) : m_file(file) {}

    ProfileFault error(const QString& field, Problem::Kind kind, const QStringList& arguments = {}) const {
        return {m_file, field, {kind, arguments}};
    }

    QString path(const QString& container, QStringView key) const {
        return container.isEmpty() ? key.toString() : container + QLatin1Char('.') + key.toString();
    }

    // Every key of `object` is one of `required` or `optional`, and all the required ones are there.
    Fault fields(const QJsonObject& object, const QString& container,
                 std::initializer_list<QStringView> required,
                 std::initializer_list<QStringView> optional = {}) const {
        const auto known = [&](QStringView key) {
            return std::find(required.begin(), required.end(), key) != required.end() ||
                   std::find(optional.begin(), optional.end(), key) != optional.end();
        };
        for (auto it = object.begin(); it != object.end(); ++it)
            if (!known(it.key()))
                return error(container, Problem::Kind::UnknownField,
                             {quoted(it.key()),
                              joined(required) +
                                  (optional.size() ? QStringLiteral(", ") + joined(optional) : QString())});
        for (QStringView key : required)
            if (!object.contains(key))
                return error(container, Problem::Kind::MissingField, {quoted(key.toString())});
        return std::nullopt;
    }

    Fault typed(const QJsonValue& value, QJsonValue::Type type, const QString& field) const {
        if (value.type() == type)
            return std::nullopt;
        static const QHash<int, QString> kNames{{QJsonValue::String, QStringLiteral("{text}")},
                                                {QJsonValue::Double, QStringLiteral("{number}")},
                                                {QJsonValue::Array, QStringLiteral("{list}")},
                                                {QJsonValue::Object, QStringLiteral("{object}")}};
        return error(field, Problem::Kind::WrongType, {kNames.value(type), shown(value)});
    }

    Fault baud(const QJsonValue& value, const QString& field, QString& text) const {
        if (Fault fault = typed(value, QJsonValue::Double, field))
            return fault;
        const double rate = value.toDouble();
        if (std::trunc(rate) != rate || rate < kBaudStep || rate > kMaxBaud ||
            std::fmod(rate, kBaudStep) != 0)
            return error(field, Problem::Kind::BaudRate,
                         {shown(value), QString::number(kBaudStep), QString::number(kMaxBaud)});
        text = QString::number(int(rate));
        return std::nullopt;
    }

    // A number that is one of the list's entries (data bits, stop bits).
    Fault numberEntry(const QJsonValue& value, const OptionTable& table, const QString& field,
                      QString& text) const {
        if (Fault fault = typed(value, QJsonValue::Double, field))
            return fault;
        const QString candidate = numberText(value.toDouble());
        if (!table.codeOfText(candidate))
            return error(field, Problem::Kind::NotOneOf,
                         {shown(value), table.texts().join(QStringLiteral(", "))});
        text = candidate;
        return std::nullopt;
    }

    // A text naming one of the list's entries; kept as the entry's own text.
    Fault namedEntry(const QJsonValue& value, const OptionTable& table, const QString& field,
                     QString& text) const {
        if (Fault fault = typed(value, QJsonValue::String, field))
            return fault;
        const std::optional<int> position = positionOfName(table, value.toString());
        if (!position)
            return error(field, Problem::Kind::NotOneOf,
                         {shown(value), acceptedNames(table).join(QStringLiteral(", "))});
        text = table.textAt(*position);
        return std::nullopt;
    }

    Fault port(const QJsonValue& value, const QString& at, std::array<bool, frame::PortCount>& seen,
               Profile& profile) const {
        if (Fault fault = typed(value, QJsonValue::Object, at))
            return fault;
        const QJsonObject object = value.toObject();
        if (Fault fault =
                fields(object, at, {u"port", u"function", u"baud", u"dataBits", u"stopBits", u"parity"}))
            return fault;
        const QString numberField = path(at, u"port");
        const QJsonValue number = object.value(u"port");
        if (Fault fault = typed(number, QJsonValue::Double, numberField))
            return fault;
        const double n = number.toDouble();
        if (std::trunc(n) != n || n < 1 || n > frame::PortCount)
            return error(numberField, Problem::Kind::PortNumber,
                         {shown(number), QString::number(frame::PortCount)});
        const int index = int(n) - 1;
        if (seen[index])
            return error(numberField, Problem::Kind::PortTwice, {QString::number(index + 1)});
        seen[index] = true;

        PortProfile& port = profile.ports[index];
        if (Fault fault = namedEntry(object.value(u"function"), tables::functions(), path(at, u"function"),
                                     port.function))
            return fault;
        if (Fault fault = baud(object.value(u"baud"), path(at, u"baud"), port.baud))
            return fault;
        if (Fault fault = numberEntry(object.value(u"dataBits"), tables::dataBits(), path(at, u"dataBits"),
                                      port.dataBits))
            return fault;
        if (Fault fault = numberEntry(object.value(u"stopBits"), tables::stopBits(), path(at, u"stopBits"),
                                      port.stopBits))
            return fault;
        return namedEntry(object.value(u"parity"), tables::parities(), path(at, u"parity"), port.parity);
    }

    Fault ports(const QJsonValue& value, Profile& profile) const {
        const QString at = QStringLiteral("ports");
        if (Fault fault = typed(value, QJsonValue::Array, at))
            return fault;
        const QJsonArray list = value.toArray();
        std::array<bool, frame::PortCount> seen{};
        for (qsizetype i = 0; i < list.size(); ++i)
            if (Fault fault = port(list.at(i), QStringLiteral("ports[%1]").arg(i), seen, profile))
                return fault;
        for (int i = 0; i < frame::PortCount; ++i)
            if (!seen[i])
                return error(at, Problem::Kind::PortMissing, {QString::number(i + 1)});
        return std::nullopt;
    }

    Fault mainPort(const QJsonValue& value, Profile& profile) const {
        const QString at = QStringLiteral("mainPort");
        if (Fault fault = typed(value, QJsonValue::Object, at))
            return fault;
        const QJsonObject object = value.toObject();
        if (Fault fault = fields(object, at, {u"baud", u"output"}))
            return fault;
        if (Fault fault = baud(object.value(u"baud"), path(at, u"baud"), profile.mainBaud))
            return fault;
        return namedEntry(object.value(u"output"), tables::outputSwitch(), path(at, u"output"),
                          profile.output);
    }

    // "00:08:DC:01:02:03" into octets 0-5.
    Fault mac(const QJsonValue& value, const QString& field, protocol::NetworkParameters& network) const {
        if (Fault fault = typed(value, QJsonValue::String, field))
            return fault;
        const std::optional<MacAddress> mac = parseMac(value.toString());
        if (!mac)
            return error(field, Problem::Kind::NotMac, {shown(value)});
        std::copy(mac->begin(), mac->end(), network.octets.begin());
        return std::nullopt;
    }

    // "192.168.1.100" into four octets from `first`.
    Fault address(const QJsonValue& value, const QString& field, int first,
                  protocol::NetworkParameters& network) const {
        if (Fault fault = typed(value, QJsonValue::String, field))
            return fault;
        const std::optional<Ipv4Address> address = parseIpv4(value.toString());
        if (!address)
            return error(field, Problem::Kind::NotAddress, {shown(value)});
        std::copy(address->begin(), address->end(), network.octets.begin() + first);
        return std::nullopt;
    }

    Fault network(const QJsonValue& value, Profile& profile) const {
        const QString at = QStringLiteral("network");
        if (Fault fault = typed(value, QJsonValue::Object, at))
            return fault;
        const QJsonObject object = value.toObject();
        if (Fault fault = fields(object, at, {u"mac", u"ip", u"mask", u"gateway"}))
            return fault;
        protocol::NetworkParameters octets;
        if (Fault fault = mac(object.value(u"mac"), path(at, u"mac"), octets))
            return fault;
        const std::pair<QStringView, int> addresses[] = {{u"ip", 6}, {u"mask", 10}, {u"gateway", 14}};
        for (const auto& [key, first] : addresses)
            if (Fault fault = address(object.value(key), path(at, key), first, octets))
                return fault;
        const auto slice = [&](int first) {
            Ipv4Address address{};
            std::copy_n(octets.octets.begin() + first, 4, address.begin());
            return address;
        };
        MacAddress macAddress{};
        std::copy_n(octets.octets.begin(), 6, macAddress.begin());
        if (const auto problem = addressProblem(macAddress, slice(6), slice(10), slice(14)))
            return ProfileFault{m_file, path(at, problem->field), problem->problem};
        profile.network = octets;
        return std::nullopt;
    }

    Fault document(const QJsonObject& root, Profile& profile) const {
        // The format and version first: a file that is something else altogether says so.
        if (!root.contains(u"format"))
            return error({}, Problem::Kind::MissingFormat);
        const QJsonValue format = root.value(u"format");
        if (Fault fault = typed(format, QJsonValue::String, QStringLiteral("format")))
            return fault;
        if (format.toString() != ProfileFile::FormatName)
            return error(QStringLiteral("format"), Problem::Kind::NotFormat,
                         {shown(format), quoted(ProfileFile::FormatName.toString())});
        if (!root.contains(u"version"))
            return error({}, Problem::Kind::MissingField, {quoted(QStringLiteral("version"))});
        const QJsonValue version = root.value(u"version");
        if (Fault fault = typed(version, QJsonValue::Double, QStringLiteral("version")))
            return fault;
        if (version.toDouble() != ProfileFile::Version)
            return error(QStringLiteral("version"), Problem::Kind::Version,
                         {shown(version), QString::number(ProfileFile::Version)});

        if (Fault fault = fields(root, {}, {u"format", u"version", u"ports", u"mainPort"}, {u"network"}))
            return fault;
        if (Fault fault = ports(root.value(u"ports"), profile))
            return fault;
        if (Fault fault = mainPort(root.value(u"mainPort"), profile))
            return fault;
        if (root.contains(u"network"))
            return network(root.value(u"network"), profile);
        return std::nullopt;
    }

private:
    QString m_file;
};

// Line and column (both from 1, the column in characters) of a byte offset into UTF-8 text.
std::pair<int, int> lineAndColumn(const QByteArray& text, qsizetype offset) {
    offset = std::clamp<qsizetype>(offset, 0, text.size());
    const QByteArray before = text.left(offset);
    const qsizetype lineStart = before.lastIndexOf('\n') + 1;
    return {int(before.count('\n')) + 1, int(QString::fromUtf8(before.mid(lineStart)).size()) + 1};
}

// The path ("ports[3].parity") of the first key an object of the JSON text holds twice, which a
// JSON reader would quietly settle on one value of. The text is valid JSON.
std::optional<QString> duplicateKey(const QByteArray& json) {
    struct Level {
        bool object = false;
        QString path;
        QSet<QString> keys;
        QString key;
        int index = 0;
    };
    std::vector<Level> levels;
    bool expectKey = false;
    const auto inner = [&]() -> QString {
        if (levels.empty())
            return {};
        const Level& level = levels.back();
        if (!level.object)
            return level.path + QStringLiteral("[%1]").arg(level.index);
        return level.path.isEmpty() ? level.key : level.path + QLatin1Char('.') + level.key;
    };
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char c = json.at(i);
        if (c == '"') {
            const qsizetype start = ++i;
            while (i < json.size() && json.at(i) != '"')
                i += json.at(i) == '\\' ? 2 : 1;
            if (expectKey) {
                Level& level = levels.back();
                level.key = QString::fromUtf8(json.mid(start, i - start));
                if (level.keys.contains(level.key))
                    return inner();
                level.keys.insert(level.key);
                expectKey = false;
            }
        } else if (c == '{' || c == '[') {
            levels.push_back({c == '{', inner(), {}, {}, 0});
            expectKey = c == '{';
        } else if ((c == '}' || c == ']') && !levels.empty()) {
            levels.pop_back();
            expectKey = false;
        } else if (c == ',' && !levels.empty()) {
            expectKey = levels.back().object;
            levels.back().index += levels.back().object ? 0 : 1;
        }
    }
    return std::nullopt;
}

// A JSON string literal.
QString literal(const QString& text) {
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\') + c;
        else if (c.unicode() < 0x20)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

// A value held as text, written as a number when it is one (a baud rate, data or stop bits), so
// that a profile made from odd panels still shows what it holds.
QString numeric(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && QString::number(value) == text ? text : literal(text);
}

} // namespace

QString ProfileFault::message() const {
    const QString reason = problem.text(Language::English);
    return field.isEmpty() ? file + QStringLiteral(": ") + reason
                           : file + QStringLiteral(": ") + field + QStringLiteral(": ") + reason;
}

QString ProfileFault::fieldName(Language language) const {
    if (language == Language::English)
        return field;
    for (Setting setting :
         {Setting::MainBaud, Setting::Output, Setting::Mac, Setting::Ip, Setting::Mask, Setting::Gateway})
        if (field == settingName(setting, Language::English))
            return settingName(setting, Language::Chinese);
    // "ports[5]" is the sixth entry of the file's list, shown as the panels number their ports.
    static const QRegularExpression portField(QStringLiteral(R"(^ports\[(\d+)\](?:\.(\w+))?$)"));
    const QRegularExpressionMatch match = portField.match(field);
    if (!match.hasMatch())
        return field;
    QString key = match.captured(2);
    for (Setting setting :
         {Setting::Function, Setting::Baud, Setting::DataBits, Setting::StopBits, Setting::Parity})
        if (key == settingName(setting, Language::English))
            key = settingName(setting, Language::Chinese);
    return word(Word::PortField, language).arg(match.captured(1).toInt() + 1).arg(key).trimmed();
}

protocol::Result<Profile, ProfileFault> ProfileFile::parse(const QByteArray& json, const QString& fileName) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        const auto [line, column] = lineAndColumn(json, parseError.offset);
        return ProfileFault{fileName,
                            {},
                            {Problem::Kind::NotJson,
                             {QString::number(line), QString::number(column), parseError.errorString()}}};
    }
    if (!document.isObject())
        return ProfileFault{fileName, {}, {Problem::Kind::NotAnObject, {}}};
    if (const std::optional<QString> key = duplicateKey(json))
        return ProfileFault{fileName, *key, {Problem::Kind::KeyTwice, {}}};
    const Reader reader(fileName);
    Profile profile;
    if (Fault fault = reader.document(document.object(), profile))
        return *fault;
    return profile;
}

protocol::Result<Profile, ProfileFault> ProfileFile::read(const QString& path) {
    // A pipe or a terminal would hold the reader until it closes, perhaps for ever.
    if (const QFileInfo info(path); info.exists() && !info.isFile())
        return ProfileFault{path, {}, {Problem::Kind::NotRegularFile, {}}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ProfileFault{path, {}, {Problem::Kind::CannotRead, {file.errorString()}}};
    const QByteArray json = file.read(MaxFileSize + 1);
    if (json.size() > MaxFileSize) // read, not asked: a pipe or a device has no size
        return ProfileFault{path, {}, {Problem::Kind::TooLarge, {QString::number(MaxFileSize)}}};
    return parse(json, path);
}

QByteArray ProfileFile::toJson(const Profile& profile) {
    QString out = QStringLiteral("{\n    \"format\": %1,\n    \"version\": %2,\n    \"ports\": [\n")
                      .arg(literal(FormatName.toString()))
                      .arg(Version);
    for (int i = 0; i < frame::PortCount; ++i) {
        const PortProfile& port = profile.ports[i];
        out += QStringLiteral("        {\"port\": %1, \"function\": %2, \"baud\": %3, \"dataBits\": %4, "
                              "\"stopBits\": %5, \"parity\": %6}")
                   .arg(QString::number(i + 1), literal(port.function), numeric(port.baud),
                        numeric(port.dataBits), numeric(port.stopBits), literal(port.parity));
        out += i + 1 < frame::PortCount ? QStringLiteral(",\n") : QStringLiteral("\n");
    }
    out += QStringLiteral("    ],\n    \"mainPort\": {\"baud\": %1, \"output\": %2}")
               .arg(numeric(profile.mainBaud), literal(profile.output));
    if (const auto& network = profile.network) {
        out += QStringLiteral(",\n    \"network\": {\"mac\": %1, \"ip\": %2, \"mask\": %3, \"gateway\": %4}")
                   .arg(literal(describe::macAddress(*network)), literal(describe::dottedQuad(*network, 6)),
                        literal(describe::dottedQuad(*network, 10)),
                        literal(describe::dottedQuad(*network, 14)));
    }
    out += QStringLiteral("\n}\n");
    return out.toUtf8();
}

protocol::Result<protocol::Done, ProfileFault> ProfileFile::write(const QString& path,
                                                                  const Profile& profile) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return ProfileFault{path, {}, {Problem::Kind::CannotWrite, {file.errorString()}}};
    const QByteArray json = toJson(profile);
    if (file.write(json) != json.size() || !file.commit())
        return ProfileFault{path, {}, {Problem::Kind::CannotWrite, {file.errorString()}}};
    return protocol::Done{};
}

} // namespace config
