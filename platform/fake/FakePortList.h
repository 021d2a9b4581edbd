// SPDX-License-Identifier: MIT
#pragma once

#include "platform/PortList.h"

// A port list the test sets; `descriptions` go with the names of the same position.
namespace platform {

class FakePortList final : public PortList {
public:
    QStringList ports() const override { return names; }
    QList<PortInfo> describedPorts() const override {
        QList<PortInfo> infos;
        for (const QString& name : ports())
            infos.append({name, descriptions.value(infos.size())});
        return infos;
    }
    QStringList names;
    QStringList descriptions;
};

} // namespace platform
