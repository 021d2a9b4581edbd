#pragma once

#include "platform/PortList.h"

// A port list the test sets.
namespace platform {

class FakePortList final : public PortList {
public:
    QStringList ports() const override { return names; }
    QStringList names;
};

} // namespace platform
