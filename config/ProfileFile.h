// SPDX-License-Identifier: MIT
#pragma once

#include "config/Problem.h"
#include "config/Profile.h"
#include "config/Words.h"
#include "protocol/Result.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

// The profile file: a device's configuration as hand-editable JSON, e.g.
//   {
//       "format": "expander-profile",
//       "version": 1,
//       "ports": [
//           {"port": 1, "function": "RS232", "baud": 9600, "dataBits": 8, "stopBits": 1, "parity": "无"},
//           ... one line for each of the ports 1 to 8, in any order ...
//       ],
//       "mainPort": {"baud": 9600, "output": "允许"},
//       "network": {"mac": "00:08:DC:01:02:03", "ip": "192.168.1.100", "mask": "255.255.255.0",
//                   "gateway": "192.168.1.1"}
//   }
// "network" may be left out. Function, parity and output take the list texts or their English
// names in any case (rs232, rs485-half, rs485-full; none, odd, even, mark, space; allowed,
// forbidden); the file is written with the list texts. A baud rate is a whole multiple of 1200 from
// 1200 to 306000: its code (rate / 1200) must fit one byte, and the device would round anything
// else. Unknown fields are refused, so that a misspelt one never passes unnoticed.
namespace config {

// Why a profile was refused: the file, the field at fault as a path ("ports[3].parity"; for the
// ports, the index in the file's list; empty when the file as a whole is at fault) and the problem,
// which each program words in its own language.
struct ProfileFault {
    QString file;
    QString field;
    Problem problem;

    bool operator==(const ProfileFault&) const = default;
    // In English: "profile.json: ports[3].parity: "偶" is not one of 无, 奇校验, ..."
    QString message() const;
    // The field as the window names it ("ports[5].baud" is "串口6 波特率", "network.ip" is "网络参数
    // IP地址"); in English, and where no name fits, the path itself.
    QString fieldName(Language language) const;
};

class ProfileFile {
public:
    static constexpr QStringView FormatName = u"expander-profile";
    static constexpr int Version = 1;
    static constexpr qint64 MaxFileSize = 1 << 20; // a profile is a few kilobytes

    // The profile the JSON text holds; `fileName` only names the file in the error.
    static protocol::Result<Profile, ProfileFault> parse(const QByteArray& json, const QString& fileName);
    static protocol::Result<Profile, ProfileFault> read(const QString& path);

    // Pretty-printed UTF-8 JSON in the layout above, one port a line, ending in a line feed; the
    // same profile always gives the same bytes, and parse() gives the profile back.
    static QByteArray toJson(const Profile& profile);
    // Replaces the file as a whole, or leaves it as it was.
    static protocol::Result<protocol::Done, ProfileFault> write(const QString& path, const Profile& profile);
};

} // namespace config
