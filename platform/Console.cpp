// SPDX-License-Identifier: MIT
#include "platform/Console.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace platform {

void useUtf8Console() {
#ifdef Q_OS_WIN
    SetConsoleOutputCP(CP_UTF8);
#endif
}

} // namespace platform
