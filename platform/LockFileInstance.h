// SPDX-License-Identifier: MIT
#pragma once

#include "platform/SingleInstance.h"

#include <QLockFile>
#include <QString>

#include <memory>

// The single-instance claim as a QLockFile in the runtime folder. Only a live copy blocks: a lock
// left by a crashed copy, an empty or garbled lock file, and a folder where no lock can be made at
// all let this copy start.
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
