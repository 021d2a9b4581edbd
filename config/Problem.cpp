// SPDX-License-Identifier: MIT
#include "config/Problem.h"

#include <iterator>

namespace config {

namespace {

struct Wording {
    Problem::Kind kind;
    const char16_t* chinese;
    const char16_t* english;
};

using K = Problem::Kind;

// In the order of Problem::Kind, so that a problem is found by its value.
constexpr Wording kWordings[] = {
    {K::NotJson, u"不是有效的 JSON，第 %1 行第 %2 列：%3", u"not valid JSON at line %1, column %2: %3"},
    {K::NotAnObject, u"应为一个 JSON 对象，实为一个列表", u"expected one JSON object, found a list"},
    {K::KeyTwice, u"出现了两次", u"appears twice"},
    {K::NotRegularFile, u"不是普通文件", u"is not a regular file"},
    {K::CannotRead, u"无法读取：%1", u"cannot be read: %1"},
    {K::TooLarge, u"大于 %1 字节，配置文件只有几千字节",
     u"is larger than %1 bytes; a profile is a few kilobytes"},
    {K::CannotWrite, u"无法写入：%1", u"cannot be written: %1"},
    {K::UnknownField, u"未知的字段 %1（应为 %2）", u"unknown field %1 (expected %2)"},
    {K::MissingField, u"缺少字段 %1", u"missing field %1"},
    {K::MissingFormat, u"缺少字段 \"format\"（这是配置文件吗？）",
     u"missing field \"format\" (is it an expander profile?)"},
    {K::WrongType, u"应为%1，实为 %2", u"expected %1, found %2"},
    {K::NotFormat, u"%1 不是 %2", u"%1 is not %2"},
    {K::Version, u"不支持版本 %1，本程序读取版本 %2", u"%1 is not supported; this program reads version %2"},
    {K::BaudRate, u"%1 不是 %2 至 %3 之间 %2 的整数倍", u"%1 is not a whole multiple of %2 from %2 to %3"},
    {K::NotOneOf, u"%1 不是 %2 之一", u"%1 is not one of %2"},
    {K::PortNumber, u"%1 不是 1 至 %2 的串口号", u"%1 is not a port number from 1 to %2"},
    {K::PortTwice, u"串口%1 出现了两次", u"port %1 appears twice"},
    {K::PortMissing, u"缺少串口%1", u"port %1 is missing"},
    {K::NotMac, u"%1 不是 MAC 地址，应如 00:08:DC:01:02:03",
     u"%1 is not a MAC address such as 00:08:DC:01:02:03"},
    {K::NotAddress, u"%1 不是地址，应如 192.168.1.100", u"%1 is not an address such as 192.168.1.100"},
    {K::Multicast, u"%1 是组播地址（第一个字节为奇数）",
     u"%1 is a multicast address (its first octet is odd)"},
    {K::NoAddress, u"0.0.0.0 不是地址", u"0.0.0.0 is no address"},
    {K::NotMask, u"%1 不是子网掩码：其中的 1 必须在前", u"%1 is not a subnet mask: its ones must come first"},
    {K::MaskLeavesNoRoom, u"%1 除网络地址和广播地址外没有可用的地址",
     u"%1 leaves no room for a unit beside the network and broadcast addresses"},
    {K::NetworkItself, u"%1 是网络 %2 本身的地址", u"%1 is the address of the network %2 itself"},
    {K::Broadcast, u"%1 是 %2 的广播地址", u"%1 is the broadcast address of %2"},
    {K::GatewayOutside, u"%1 不在 IP %3 的网络 %2 内", u"%1 is outside the network %2 of ip %3"},
};
static_assert(std::size(kWordings) == std::size_t(K::GatewayOutside) + 1, "one wording per kind");

struct TypeWord {
    const char16_t* token;
    const char16_t* chinese;
    const char16_t* english;
};

constexpr TypeWord kTypeWords[] = {
    {u"{text}", u"文本", u"a text"},     {u"{number}", u"数字", u"a number"},
    {u"{list}", u"列表", u"a list"},     {u"{object}", u"对象", u"an object"},
    {u"{nothing}", u"空值", u"nothing"},
};

} // namespace

QString Problem::text(Language language) const {
    const Wording& wording = kWordings[int(kind)];
    Q_ASSERT(wording.kind == kind);
    const QString pattern =
        QString::fromUtf16(language == Language::Chinese ? wording.chinese : wording.english);
    // One pass, so that a value holding "%2" is shown as it is, never filled in.
    QString out;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const qsizetype n = i + 1 < pattern.size() ? pattern.at(i + 1).digitValue() : -1;
        if (pattern.at(i) != u'%' || n < 1 || n > arguments.size()) {
            out += pattern.at(i);
            continue;
        }
        QString argument = arguments.at(n - 1);
        for (const TypeWord& type : kTypeWords)
            if (argument == QStringView(type.token))
                argument = QString::fromUtf16(language == Language::Chinese ? type.chinese : type.english);
        out += argument;
        ++i;
    }
    return out;
}

} // namespace config
