// SPDX-License-Identifier: MIT
#include "cli/PortLock.h"

#include <QFileInfo>
#include <QLockFile>
#include <QStringList>

namespace cli {

std::optional<PortLock> portLock(const QString& port) {
#ifdef Q_OS_WIN
    // Windows holds a COM port for its program alone and leaves no file behind.
    Q_UNUSED(port);
    return std::nullopt;
#else
    // The folders the serial-port library looks in, in its order.
    static const QStringList folders{
        QStringLiteral("/var/lock"),         QStringLiteral("/etc/locks"), QStringLiteral("/var/spool/locks"),
        QStringLiteral("/var/spool/uucp"),   QStringLiteral("/tmp"),       QStringLiteral("/var/tmp"),
        QStringLiteral("/var/lock/lockdev"), QStringLiteral("/run/lock")};
    QString name = port;
    if (name.startsWith(u"/dev/"))
        name = name.mid(5);
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    for (const QString& folder : folders) {
        const QFileInfo file(folder + QStringLiteral("/LCK..") + name);
        if (!file.exists())
            continue;
        qint64 pid = 0;
        QString host;
        QString application;
        QLockFile(file.filePath()).getLockInfo(&pid, &host, &application);
        return PortLock{file.filePath(), file.owner(), pid};
    }
    return std::nullopt;
#endif
}

} // namespace cli
