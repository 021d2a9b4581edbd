// SPDX-License-Identifier: MIT
#pragma once

#include "platform/SingleInstance.h"

// A single-instance check whose answer the test sets.
namespace platform {

class FakeSingleInstance final : public SingleInstance {
public:
    bool anotherIsRunning() override {
        ++checks;
        return another;
    }
    bool another = false;
    int checks = 0;
};

} // namespace platform
