#include "platform/SimRegistry.h"

#include "platform/RuntimeDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace platform {

namespace {
const QString kPrefix = QStringLiteral("sim");

bool processAlive(qint64 pid) { return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM); }
} // namespace

QString SimRegistry::directory() { return runtimeDir() + QStringLiteral("/expander-sim"); }

QString SimRegistry::add(const QString& devicePath) {
    const QString dir = directory();
    if (!QDir().mkpath(dir))
        return {};
    const QString link = dir + QLatin1Char('/') + kPrefix + QString::number(::getpid());
    QFile::remove(link);
    if (!QFile::link(devicePath, link))
        return {};
    return link;
}

void SimRegistry::remove(const QString& linkPath) {
    if (!linkPath.isEmpty())
        QFile::remove(linkPath);
}

QStringList SimRegistry::ports() {
    QStringList ports;
    const QDir dir(directory());
    const QFileInfoList entries = dir.entryInfoList({kPrefix + QLatin1Char('*')}, QDir::System | QDir::Files,
                                                    QDir::Name);
    for (const QFileInfo& entry : entries) {
        if (!entry.isSymLink())
            continue;
        bool ok = false;
        const qint64 pid = entry.fileName().mid(kPrefix.size()).toLongLong(&ok);
        // A simulator killed without clean-up leaves a link behind; its pty may belong to another.
        if (!ok || !processAlive(pid) || !QFileInfo::exists(entry.symLinkTarget()))
            continue;
        ports.append(entry.absoluteFilePath());
    }
    return ports;
}

} // namespace platform
