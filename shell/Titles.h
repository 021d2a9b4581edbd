// SPDX-License-Identifier: MIT
#pragma once

#include <QStringView>

// The program's two fixed titles: the main window's caption, and the caption of message boxes
// that have no title of their own; and its name as the system knows it.
namespace shell {

inline constexpr QStringView ProgramName = u"expander-config";
inline constexpr QStringView ProgramTitle = u"八口串口扩展器配置工具";
inline constexpr QStringView ApplicationTitle = u"串口扩展器";
inline constexpr QStringView Version = u"Version1.00";

} // namespace shell
