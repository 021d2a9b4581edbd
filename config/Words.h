// SPDX-License-Identifier: MIT
#pragma once

#include "config/OptionTable.h"

#include <QString>

#include <optional>

// The words the program uses to say what went over the line, in its two languages: Chinese for the
// window, English for the command line and the simulator's log. One table holds both, so the two
// never say different things.
namespace config {

enum class Language { Chinese, English };

enum class Word {
    // Requests; %1 is the content where there is one.
    ConnectRequest,
    ReadPortsRequest,
    WritePortsRequest,
    RestoreRequest,
    ReadNetworkRequest,
    WriteNetworkRequest,
    ForwardRequest, // %1 port, %2 number of data bytes
    // Replies.
    Connected,
    PortSetDone,
    RestoreDone,
    NetworkSetDone,
    PortConfiguration,
    NetworkParameters,
    UnknownCommand, // %1 the code in hex
    UnknownReply,
    // Bytes that are not one well-formed frame: Malformed wraps one of the reasons after it.
    Malformed,
    StartByte,  // %1 the byte
    LengthByte, // %1 the byte
    EndByte,    // %1 the byte
    Incomplete, // %1 bytes received, %2 announced
    ExtraBytes, // %1 bytes after the frame's end byte
    WrongSize,  // %1 the code, %2 bytes received, %3 the size it must have
    // Fields of a port configuration and of the network parameters; %1 the value.
    PortField, // %1 port number, %2 its settings
    MainPortField,
    OutputField,
    MacField,
    IpField,
    MaskField,
    GatewayField,
    // A line byte or function code that matches no list entry; %1 the code in hex.
    UnknownLine,
    UnknownFunction,
    // Why a port could not be opened.
    PortNotFound,
    PortInUse,
    PortPermission,
    PortLostWhileOpening,
    PortCannotOpen,
};

QString word(Word word, Language language);

// A setting of the panels and of a profile: an extension port's five lists, the main port's two,
// the network's four values.
enum class Setting { Function, Baud, DataBits, StopBits, Parity, MainBaud, Output, Mac, Ip, Mask, Gateway };

// In Chinese the list or box as the window names it ("校验位", "串口0 波特率", "网络参数 IP地址"); in
// English the field as the profile file names it ("parity", "mainPort.baud", "network.ip").
QString settingName(Setting setting, Language language);

// The name of a list entry: in Chinese the text the list shows; in English the parity, function and
// output-switch entries get their English names ("none", "RS485-half", "allowed"), the numeric
// entries keep their text.
QString entryName(const OptionTable& table, int position, Language language);

// The entry whose text or English name is `name`; English names are matched without regard to case.
std::optional<int> positionOfName(const OptionTable& table, const QString& name);

// Every name positionOfName accepts, list texts first, then the English names.
QStringList acceptedNames(const OptionTable& table);

} // namespace config
