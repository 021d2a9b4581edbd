#include "platform/RuntimeDir.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace platform {

QString runtimeDir() {
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QDir(dir).exists())
        dir = QDir::tempPath() + QStringLiteral("/expander-runtime-%1").arg(::getuid());
    if (!QDir(dir).exists()) {
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    return dir;
}

} // namespace platform
