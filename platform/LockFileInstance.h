#pragma once

#include "platform/SingleInstance.h"

#include <QLockFile>
#include <QString>

#include <memory>

// The single-instance claim as a QLockFile in the runtime folder; a lock left by a crashed copy
// is recognised as stale and taken over.
namespace platform {

class LockFileInstance final : public SingleInstance {
public:
    explicit LockFileInstance(const QString& name);
    bool anotherIsRunning() override;

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace platform
