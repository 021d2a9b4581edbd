#include "platform/LockFileInstance.h"

#include "platform/RuntimeDir.h"

namespace platform {

LockFileInstance::LockFileInstance(const QString& name)
    : m_path(runtimeDir() + QLatin1Char('/') + name + QStringLiteral(".lock")) {}

bool LockFileInstance::anotherIsRunning() {
    if (m_lock && m_lock->isLocked())
        return false;
    m_lock = std::make_unique<QLockFile>(m_path);
    m_lock->setStaleLockTime(0); // only a dead owner makes a lock stale, never its age
    return !m_lock->tryLock(0);
}

} // namespace platform
