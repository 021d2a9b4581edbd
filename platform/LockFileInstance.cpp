// SPDX-License-Identifier: MIT
#include "platform/LockFileInstance.h"

#include "platform/RuntimeDir.h"

#include <QDateTime>
#include <QFileInfo>

namespace platform {

namespace {
// A copy that is starting writes its lock file right after creating it; an unreadable lock file
// younger than this may be that moment, an older one is garbage.
constexpr qint64 kWritingTimeMs = 2000;
} // namespace

LockFileInstance::LockFileInstance(const QString& name) {
    const QString dir = runtimeDir();
    if (!dir.isEmpty())
        m_path = dir + QLatin1Char('/') + name + QStringLiteral(".lock");
}

bool LockFileInstance::anotherIsRunning() {
    if (m_path.isEmpty())
        return false; // no private folder to keep a lock in: nothing can tell, so start
    if (m_lock && m_lock->isLocked())
        return false;
    m_lock = std::make_unique<QLockFile>(m_path);
    m_lock->setStaleLockTime(0); // only a dead owner makes a lock stale, never its age
    if (m_lock->tryLock(0))
        return false;
    if (m_lock->error() != QLockFile::LockFailedError)
        return false; // the lock cannot be made at all (permissions, full disk): start unguarded

    // QLockFile has already taken over a lock whose owner is dead; what is left is a live owner, or
    // a file that names none.
    qint64 pid = 0;
    QString host;
    QString application;
    if (m_lock->getLockInfo(&pid, &host, &application))
        return true;
    const QDateTime written = QFileInfo(m_path).lastModified();
    if (written.isValid() && qAbs(written.msecsTo(QDateTime::currentDateTime())) < kWritingTimeMs)
        return true;
    m_lock->removeStaleLockFile();
    return !m_lock->tryLock(0) && m_lock->error() == QLockFile::LockFailedError;
}

} // namespace platform
