// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace sim {

// One device's entry in the simulator registry: a symbolic link named after this process (and
// the device, when there are several) that points at the device's main pseudo-terminal. Removed
// when it goes out of scope.
class Registration {
public:
    Registration() = default;
    ~Registration();
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

    // Makes the entry for `devicePath`; `device` is 0 for a simulator's only device, else 1, 2,
    // ... On failure returns false and says why in `error`.
    bool add(const QString& devicePath, int device, QString* error);
    void remove();
    QString path() const { return m_path; }

private:
    QString m_path;
};

} // namespace sim
