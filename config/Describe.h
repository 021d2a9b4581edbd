// SPDX-License-Identifier: MIT
#pragma once

#include "config/Words.h"
#include "protocol/Reply.h"

#include <QByteArray>
#include <QString>

// What a frame on the line means, in words: field codes turned back into what the port panels'
// lists show, for the window's traffic log (Chinese), the command line's trace and the
// simulator's log (English).
namespace config::describe {

// "38400,N,8,1": a line's baud, parity letter, data bits and stop bits, as the status line and the
// traffic log both write them.
QString lineSettings(const QString& baud, const QString& parity, const QString& dataBits,
                     const QString& stopBits);

// "9600,N,8,1 RS232"; a code that matches no list entry is shown as "?" and its hex value.
QString portRecord(const protocol::PortRecord& record, Language language);
// "1=9600,N,8,1 RS232 2=... main=115200 output=allowed" / "串口1 9600,N,8,1 RS232 … 串口0 115200 接收输出
// 允许"
QString portConfiguration(const protocol::PortConfiguration& configuration, Language language);
// "mac=00:08:DC:01:02:03 ip=192.168.1.100 mask=255.255.255.0 gateway=192.168.1.1"
QString network(const protocol::NetworkParameters& network, Language language);

// "00:08:DC:01:02:03": octets 0-5.
QString macAddress(const protocol::NetworkParameters& network);
// "192.168.1.100": the four octets from `first` (6 IP, 10 mask, 14 gateway).
QString dottedQuad(const protocol::NetworkParameters& network, int first);

// Why `bytes` are not one well-formed frame (0x40, L >= 2, L bytes more, the last 0x23), e.g.
// "结束字节为 24" / "end byte 24"; empty when they are one. request() and reply() put it as
// "无效帧: 结束字节为 24".
QString malformation(const QByteArray& bytes, Language language);

// What a frame the PC sends asks for, e.g. "连接设备" / "connect".
QString request(const QByteArray& bytes, Language language);
// What bytes the device sent mean, e.g. "连接成功" / "connected", or why they are not a reply.
QString reply(const QByteArray& bytes, Language language);
// What a reader that decoded `bytes` as `decoded` acts on: the decoded reply's meaning, even where
// the bytes are not a strict frame (the window does not examine the length byte, so 40 05 E1 23 is
// "连接成功" to it); why they are not a reply only when they decoded as Unrecognised.
QString decodedReply(const protocol::Reply& decoded, const QByteArray& bytes, Language language);

} // namespace config::describe
