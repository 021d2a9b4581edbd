// SPDX-License-Identifier: MIT
#include "sim/Registration.h"

#include "platform/SimRegistry.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace sim {

Registration::~Registration() {
    remove();
}

bool Registration::add(const QString& devicePath, int device, QString* error) {
    remove();
    const QString dir = platform::SimRegistry::directory();
    if (dir.isEmpty()) {
        *error = QStringLiteral("no private runtime folder to register %1 in").arg(devicePath);
        return false;
    }
    const QString link = dir + QLatin1Char('/') + platform::SimRegistry::entryName(::getpid(), device);
    // A link of the same name was left by an earlier process with this pid, killed before it
    // could clean up.
    QFile::remove(link);
    if (!QDir().mkpath(dir) || !QFile::link(devicePath, link)) {
        *error = QStringLiteral("cannot register %1 as %2").arg(devicePath, link);
        return false;
    }
    m_path = link;
    return true;
}

void Registration::remove() {
    if (!m_path.isEmpty())
        QFile::remove(m_path);
    m_path.clear();
}

} // namespace sim
