// SPDX-License-Identifier: MIT
#pragma once

// Tells whether another copy of the program is already running for this user.
namespace platform {

class SingleInstance {
public:
    virtual ~SingleInstance() = default;
    // True when another copy holds the claim; otherwise this copy claims it for its lifetime.
    virtual bool anotherIsRunning() = 0;
};

} // namespace platform
