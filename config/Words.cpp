// SPDX-License-Identifier: MIT
#include "config/Words.h"

#include "config/Tables.h"

#include <iterator>
#include <span>

namespace config {

namespace {

struct Entry {
    Word word;
    const char16_t* chinese;
    const char16_t* english;
};

// In the order of the Word enumeration, so that a word is found by its value.
constexpr Entry kWords[] = {
    {Word::ConnectRequest, u"连接设备", u"connect"},
    {Word::ReadPortsRequest, u"同步串口参数", u"read ports"},
    {Word::WritePortsRequest, u"设置串口参数: %1", u"write ports: %1"},
    {Word::RestoreRequest, u"还原设置", u"restore defaults"},
    {Word::ReadNetworkRequest, u"读取网络参数", u"read network"},
    {Word::WriteNetworkRequest, u"设置网络参数: %1", u"write network: %1"},
    {Word::ForwardRequest, u"转发到串口%1: %2 字节", u"forward to port %1: %2 bytes"},
    {Word::Connected, u"连接成功", u"connected"},
    {Word::PortSetDone, u"设置串口参数成功", u"port set done"},
    {Word::RestoreDone, u"还原设置成功", u"restore done"},
    {Word::NetworkSetDone, u"网络参数设置成功", u"network set done"},
    {Word::PortConfiguration, u"同步: %1", u"port configuration: %1"},
    {Word::NetworkParameters, u"网络参数: %1", u"network parameters: %1"},
    {Word::UnknownCommand, u"未知命令 %1", u"unknown command %1"},
    {Word::UnknownReply, u"未知应答 %1", u"unknown reply %1"},
    {Word::Malformed, u"无效帧: %1", u"malformed: %1"},
    {Word::StartByte, u"起始字节为 %1", u"start byte %1"},
    {Word::LengthByte, u"长度字节为 %1", u"length byte %1"},
    {Word::EndByte, u"结束字节为 %1", u"end byte %1"},
    {Word::Incomplete, u"不完整, 收到 %1 字节, 应为 %2", u"incomplete, %1 of %2 bytes"},
    {Word::ExtraBytes, u"帧后多出 %1 字节", u"%1 bytes after the end byte"},
    {Word::WrongSize, u"%1 帧为 %2 字节, 应为 %3", u"%1 frame of %2 bytes, expected %3"},
    {Word::PortField, u"串口%1 %2", u"%1=%2"},
    {Word::MainPortField, u"串口0 %1", u"main=%1"},
    {Word::OutputField, u"接收输出 %1", u"output=%1"},
    {Word::MacField, u"MAC %1", u"mac=%1"},
    {Word::IpField, u"IP %1", u"ip=%1"},
    {Word::MaskField, u"掩码 %1", u"mask=%1"},
    {Word::GatewayField, u"网关 %1", u"gateway=%1"},
    {Word::UnknownLine, u"线路?%1", u"line?%1"},
    {Word::UnknownFunction, u"功能?%1", u"function?%1"},
    {Word::PortNotFound, u"没有发现此串口!请检查串口号和连接线。", u"not found"},
    {Word::PortInUse, u"此串口已被其他程序占用!请关闭占用它的程序后再打开。", u"in use by another program"},
#ifdef Q_OS_LINUX
    {Word::PortPermission,
     u"没有权限打开此串口!请把当前用户加入dialout组(sudo usermod -aG dialout $USER),重新登录后再打开。",
     u"permission denied (on Linux: add the user to the dialout group, then log in again)"},
#else
    {Word::PortPermission, u"没有权限打开此串口!请以有权使用串口的用户运行本程序。",
     u"permission denied (on Linux: add the user to the dialout group, then log in again)"},
#endif
    {Word::PortLostWhileOpening, u"没有发现此串口或被占用!", u"lost while opening"},
    {Word::PortCannotOpen, u"没有发现此串口或被占用!", u"cannot be opened"},
};
static_assert(std::size(kWords) == std::size_t(Word::PortCannotOpen) + 1, "one entry per word");

struct Names {
    const char16_t* chinese;
    const char16_t* english;
};

// In the order of the Setting enumeration.
constexpr Names kSettings[] = {
    {u"功能", u"function"},
    {u"波特率", u"baud"},
    {u"数据位", u"dataBits"},
    {u"停止位", u"stopBits"},
    {u"校验位", u"parity"},
    {u"串口0 波特率", u"mainPort.baud"},
    {u"串口0接收输出", u"mainPort.output"},
    {u"网络参数 MAC地址", u"network.mac"},
    {u"网络参数 IP地址", u"network.ip"},
    {u"网络参数 子网掩码", u"network.mask"},
    {u"网络参数 默认网关", u"network.gateway"},
};
static_assert(std::size(kSettings) == std::size_t(Setting::Gateway) + 1, "one entry per setting");

// English names of the entries whose list texts are Chinese, in list order.
constexpr const char16_t* kParityNames[] = {u"none", u"odd", u"even", u"mark", u"space"};
constexpr const char16_t* kFunctionNames[] = {u"RS232", u"RS485-half", u"RS485-full"};
constexpr const char16_t* kOutputNames[] = {u"allowed", u"forbidden"};

std::span<const char16_t* const> englishNames(const OptionTable& table) {
    if (&table == &tables::parities())
        return kParityNames;
    if (&table == &tables::functions())
        return kFunctionNames;
    if (&table == &tables::outputSwitch())
        return kOutputNames;
    return {};
}

} // namespace

QString word(Word word, Language language) {
    const Entry& entry = kWords[int(word)];
    Q_ASSERT(entry.word == word);
    return QString::fromUtf16(language == Language::Chinese ? entry.chinese : entry.english);
}

QString settingName(Setting setting, Language language) {
    const Names& entry = kSettings[int(setting)];
    return QString::fromUtf16(language == Language::Chinese ? entry.chinese : entry.english);
}

QString entryName(const OptionTable& table, int position, Language language) {
    const std::span<const char16_t* const> names = englishNames(table);
    if (language == Language::English && position < int(names.size()))
        return QString::fromUtf16(names[position]);
    return table.textAt(position);
}

std::optional<int> positionOfName(const OptionTable& table, const QString& name) {
    for (int i = 0; i < table.size(); ++i)
        if (name == table.textAt(i))
            return i;
    const std::span<const char16_t* const> names = englishNames(table);
    for (int i = 0; i < int(names.size()); ++i)
        if (name.compare(QString::fromUtf16(names[i]), Qt::CaseInsensitive) == 0)
            return i;
    return std::nullopt;
}

QStringList acceptedNames(const OptionTable& table) {
    QStringList names = table.texts();
    for (const char16_t* name : englishNames(table))
        if (!names.contains(QString::fromUtf16(name)))
            names.append(QString::fromUtf16(name));
    return names;
}

} // namespace config
