// SPDX-License-Identifier: MIT
#include "platform/RuntimeDir.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace platform {

namespace {

#ifndef Q_OS_WIN
constexpr QFile::Permissions kPrivate = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// A folder only this user can enter: made with mode 0700 if missing, never a link, and owned by
// whoever owns a file this process makes in it.
bool isPrivateFolder(const QString& path) {
    QDir().mkdir(path, kPrivate); // atomic: there is no moment where others could enter
    const QFileInfo folder(path);
    if (folder.isSymLink() || !folder.isDir())
        return false;
    if (folder.permissions().testAnyFlags(QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther))
        return false;
    QTemporaryFile probe(path + QStringLiteral("/owner-XXXXXX"));
    return probe.open() && QFileInfo(probe.fileName()).ownerId() == folder.ownerId();
}
#endif

} // namespace

QString runtimeDir() {
#ifdef Q_OS_WIN
    // The user's own local application data (%LOCALAPPDATA%), which Windows keeps from other
    // users by its access rights: there are no Unix owners and modes to check.
    const QString local = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString folder = local + QStringLiteral("/expander-config/runtime");
    if (!local.isEmpty() && QDir().mkpath(folder))
        return folder;
    qWarning("No runtime folder: the single-instance lock is off.");
    return {};
#else
    const QString location = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!location.isEmpty())
        return location;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    const QString fallback = cache + QStringLiteral("/expander-runtime");
    if (!cache.isEmpty() && QDir().mkpath(cache) && isPrivateFolder(fallback)) {
        qWarning("The runtime folder cannot be trusted; using %ls instead.", qUtf16Printable(fallback));
        return fallback;
    }
    qWarning("No private runtime folder: the single-instance lock and the simulators' ports are off.");
    return {};
#endif
}

} // namespace platform
