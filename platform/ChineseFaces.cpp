// SPDX-License-Identifier: MIT
#include "platform/ChineseFaces.h"

namespace platform {

QStringList chineseFaces() {
#if defined(Q_OS_WIN)
    return {QStringLiteral("Microsoft YaHei UI"), QStringLiteral("Microsoft YaHei"),
            QStringLiteral("DengXian"), QStringLiteral("SimSun")};
#elif defined(Q_OS_MACOS)
    return {QStringLiteral("PingFang SC"), QStringLiteral("Heiti SC")};
#else
    return {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")};
#endif
}

} // namespace platform
