// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

// The faces Chinese text is drawn in, best first: the system's own, never another system's.
namespace platform {

// On Windows "Microsoft YaHei UI" (the face of Chinese Windows' own dialogs) and the other faces
// Windows ships with Chinese; on Linux the CJK fonts of the distributions; on macOS PingFang.
QStringList chineseFaces();

} // namespace platform
